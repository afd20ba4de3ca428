#include "app/win32/Win32PageView.h"

#include <stdexcept>

#include "app/win32/LineBreaks.h"

namespace usbwiz {

namespace {

bool IsMultiLineEdit(const PageLayout& layout, int controlId) {
    for (const ControlLayout& control : layout.controls)
        if (control.id == controlId) return control.kind == ControlKind::ReadOnlyText;
    return false;
}

}  // namespace

HWND Win32PageView::Control(int controlId) const {
    HWND control = controlId == kNoControlId ? nullptr : GetDlgItem(dialog_, controlId);
    if (control == nullptr)
        throw std::logic_error("page " + std::to_string(static_cast<int>(layout_.page)) +
                               " has no control " + std::to_string(controlId));
    return control;
}

std::string Win32PageView::GetText(int controlId) {
    HWND control = Control(controlId);
    const int length = GetWindowTextLengthA(control);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void Win32PageView::SetText(int controlId, std::string_view text) {
    HWND control = Control(controlId);
    const std::string shown =
        IsMultiLineEdit(layout_, controlId) ? WithCrLf(text) : std::string(text);
    SetWindowTextA(control, shown.c_str());
}

bool Win32PageView::IsChecked(int controlId) {
    return SendMessageA(Control(controlId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32PageView::SetChecked(int controlId, bool checked) {
    SendMessageA(Control(controlId), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32PageView::SetVisible(int controlId, bool visible) {
    ShowWindow(Control(controlId), visible ? SW_SHOW : SW_HIDE);
}

bool Win32PageView::IsVisible(int controlId) {
    // The control's own style: IsWindowVisible would also ask the page, hidden during set-up.
    return (GetWindowLongPtrA(Control(controlId), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32PageView::SetFocus(int controlId) {
    // The dialog's own way of moving the focus, which also keeps the default button right.
    SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(controlId)), TRUE);
    focusWasSet_ = true;
}

MessageAnswer Win32PageView::ShowMessage(std::string_view text, MessageIcon icon,
                                         MessageButtons buttons) {
    MessageRequest request;
    request.text = std::string(text);
    request.caption = messageCaption_;
    request.icon = icon;
    request.buttons = buttons;
    request.owner = dialog_;
    return platform_.ShowMessage(request);
}

void Win32PageView::EndPage() {
    EndDialog(dialog_, 0);
}

}  // namespace usbwiz
