#include "app/win32/WelcomePageDialog.h"

#include "app/win32/PageArtwork.h"

namespace usbwiz {

WelcomePageDialog::~WelcomePageDialog() {
    // The window that used them is gone by now: the dialog has ended.
    if (largeIcon_ != nullptr) DestroyIcon(largeIcon_);
    if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
}

void WelcomePageDialog::SetWindowIcons() {
    const UINT dpi = WindowDpi(Handle());
    HICON large = AppIcon(Instance(), MetricForDpi(SM_CXICON, dpi));
    HICON small = AppIcon(Instance(), MetricForDpi(SM_CXSMICON, dpi));
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    if (largeIcon_ != nullptr) DestroyIcon(largeIcon_);
    if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
    largeIcon_ = large;
    smallIcon_ = small;
}

bool WelcomePageDialog::OnInitDialog() {
    SetWindowIcons();
    return PageDialog::OnInitDialog();
}

void WelcomePageDialog::OnDpiChanged() {
    SetWindowIcons();
    PageDialog::OnDpiChanged();
}

// Kept on purpose: the welcome page draws its own icon while minimised, as it always has; no
// other window of the wizard does.
bool WelcomePageDialog::OnPaint() {
    if (!IsIconic(Handle()) || largeIcon_ == nullptr) return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    SendMessageA(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(Handle(), &client);
    const int size = MetricForDpi(SM_CXICON, WindowDpi(Handle()));
    const int left = (client.right - client.left - size + 1) / 2;
    const int top = (client.bottom - client.top - size + 1) / 2;
    DrawIconEx(dc, left, top, largeIcon_, size, size, 0, nullptr, DI_NORMAL);
    EndPaint(Handle(), &paint);
    return true;
}

}  // namespace usbwiz
