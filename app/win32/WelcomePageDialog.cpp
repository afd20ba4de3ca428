#include "app/win32/WelcomePageDialog.h"

#include "app/win32/ResourceIds.h"

namespace usbwiz {

namespace {

HICON LoadAppIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(USBWIZ_APP_ICON), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric),
                                         GetSystemMetrics(heightMetric), LR_DEFAULTCOLOR));
}

}  // namespace

WelcomePageDialog::WelcomePageDialog(Page& page, const PageLayout& layout, Platform& platform,
                                     std::string title, HINSTANCE instance)
    : PageDialog(page, layout, platform, std::move(title)),
      largeIcon_(LoadAppIcon(instance, SM_CXICON, SM_CYICON)),
      smallIcon_(LoadAppIcon(instance, SM_CXSMICON, SM_CYSMICON)) {}

WelcomePageDialog::~WelcomePageDialog() {
    // The window that used them is gone by now: the dialog has ended.
    if (largeIcon_ != nullptr) DestroyIcon(largeIcon_);
    if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
}

bool WelcomePageDialog::OnInitDialog() {
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    return PageDialog::OnInitDialog();
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
    const int left = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int top = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, left, top, largeIcon_);
    EndPaint(Handle(), &paint);
    return true;
}

}  // namespace usbwiz
