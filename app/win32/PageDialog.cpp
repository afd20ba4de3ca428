#include "app/win32/PageDialog.h"

#include <algorithm>

#include "app/win32/EditLimits.h"
#include "app/win32/PageArtwork.h"

namespace usbwiz {

namespace {

RECT FrameOf(HWND dialog, const ControlLayout& control) {
    RECT frame{control.x, control.y, control.x + control.width, control.y + control.height};
    MapDialogRect(dialog, &frame);
    return frame;
}

}  // namespace

int PageDialog::DefaultButtonId() const {
    for (const ControlLayout& control : layout_.controls)
        if (control.kind == ControlKind::DefaultButton) return control.id;
    return kNoControlId;
}

bool PageDialog::OnInitDialog() {
    HWND window = Handle();
    // Every page gets a taskbar button of its own; templates that ask for it have it already.
    if (!layout_.appWindowStyle) {
        const LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
        SetWindowLongPtrA(window, GWL_EXSTYLE, exStyle | WS_EX_APPWINDOW);
    }
    ApplyEditLimits(window, layout_);
    FitPictures();
    const int defaultButton = DefaultButtonId();
    if (defaultButton != kNoControlId)
        SendMessageA(window, DM_SETDEFID, static_cast<WPARAM>(defaultButton), 0);

    // Windows hides the focus rectangle of a dialog opened with the mouse until a key is
    // pressed; a page that may be worked with the keyboard alone shows it from the start.
    // Posted, so that it comes after whatever the dialog manager does while it creates the page.
    PostMessageA(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);

    view_.emplace(window, layout_, platform_, title_);
    page_.OnInit(*view_);
    if (view_->FocusWasSet()) return false;
    // Otherwise the dialog manager focuses the first tab stop. Where that is a push button
    // (Cancel or a "?" button on pages without edits), Enter would press it instead of the
    // default button, so the default button gets the focus instead.
    HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
    HWND defaultControl =
        defaultButton == kNoControlId ? nullptr : GetDlgItem(window, defaultButton);
    const bool firstIsOtherButton =
        first != nullptr && (SendMessageA(first, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON);
    if (!firstIsOtherButton || defaultControl == nullptr) return true;
    SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(defaultControl), TRUE);
    return false;
}

// The pictures have no ids of their own; the dialog's children stand in the layout's order.
void PageDialog::FitPictures() {
    HWND picture = GetWindow(Handle(), GW_CHILD);
    for (const ControlLayout& control : layout_.controls) {
        HWND current = picture;
        picture = GetWindow(picture, GW_HWNDNEXT);
        if (control.kind != ControlKind::Banner && control.kind != ControlKind::Icon) continue;
        const RECT frame = FrameOf(Handle(), control);
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        if (control.kind == ControlKind::Icon) {
            // The control takes the icon's size; an icon as large as the frame allows fills it.
            HICON icon = AppIcon(Instance(), std::min(width, height));
            auto* old = reinterpret_cast<HICON>(
                SendMessageA(current, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0));
            if (old == icon_ && old != nullptr) DestroyIcon(old);  // not the template's own
            icon_ = icon;
            continue;
        }
        // The frame keeps the layout's size (SS_REALSIZECONTROL); the image fills its client area.
        SetWindowPos(current, nullptr, frame.left, frame.top, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        RECT client;
        GetClientRect(current, &client);
        HBITMAP banner = BannerBitmap(Instance(), {client.right, client.bottom});
        auto* old = reinterpret_cast<HBITMAP>(
            SendMessageA(current, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner)));
        if (old != nullptr) DeleteObject(old);  // the template's bitmap or our earlier one
    }
}

void PageDialog::OnDpiChanged() {
    FitPictures();
    if (view_) view_->FitWideText();
}

// The controls would not free what they were given; the template's own icon is shared.
void PageDialog::OnDestroy() {
    HWND picture = GetWindow(Handle(), GW_CHILD);
    for (const ControlLayout& control : layout_.controls) {
        if (control.kind == ControlKind::Banner) {
            auto* shown =
                reinterpret_cast<HBITMAP>(SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, 0));
            if (shown != nullptr) DeleteObject(shown);
        } else if (control.kind == ControlKind::Icon) {
            auto* shown = reinterpret_cast<HICON>(SendMessageA(picture, STM_SETICON, 0, 0));
            if (shown != nullptr && shown == icon_) DestroyIcon(shown);
        }
        picture = GetWindow(picture, GW_HWNDNEXT);
    }
    icon_ = nullptr;
}

void PageDialog::OnCommand(int controlId, int notification) {
    if (!view_) return;
    // Esc and the close box arrive as IDCANCEL; the page has no control of that id.
    if (controlId == IDCANCEL) {
        page_.OnCancel(*view_);
        return;
    }
    if (notification != BN_CLICKED) return;
    // Enter with no default button known to the dialog manager comes as IDOK.
    if (controlId == IDOK) {
        controlId = DefaultButtonId();
        if (controlId == kNoControlId) return;
    }
    page_.OnCommand(*view_, controlId);
}

}  // namespace usbwiz
