#include "app/win32/PageDialog.h"

#include "app/win32/EditLimits.h"

namespace usbwiz {

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
