#include "app/win32/Win32PageView.h"

#include <stdexcept>

#include "app/win32/LineBreaks.h"

namespace usbwiz {

namespace {

const ControlLayout* ReadOnlyTextOf(const PageLayout& layout, int controlId) {
    for (const ControlLayout& control : layout.controls)
        if (control.id == controlId && control.kind == ControlKind::ReadOnlyText) return &control;
    return nullptr;
}

// Windows gives a radio group's tab stop to the button checked last and takes it from a button
// that is cleared; a group with none checked could then not be reached with Tab at all, so its
// first button keeps the tab stop.
void KeepRadioGroupReachable(HWND dialog, const PageLayout& layout, int controlId) {
    const std::span<const ControlLayout> controls = layout.controls;
    for (std::size_t first = 0; first < controls.size(); ++first) {
        if (controls[first].kind != ControlKind::RadioButton || !controls[first].group) continue;
        bool holdsControl = false, anyChecked = false;
        for (std::size_t i = first; i < controls.size(); ++i) {
            if (controls[i].kind != ControlKind::RadioButton || (i > first && controls[i].group))
                break;
            holdsControl = holdsControl || controls[i].id == controlId;
            anyChecked = anyChecked || IsDlgButtonChecked(dialog, controls[i].id) == BST_CHECKED;
        }
        if (!holdsControl || anyChecked) continue;
        HWND button = GetDlgItem(dialog, controls[first].id);
        SetWindowLongPtrA(button, GWL_STYLE, GetWindowLongPtrA(button, GWL_STYLE) | WS_TABSTOP);
    }
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
    const ControlLayout* column = ReadOnlyTextOf(layout_, controlId);
    if (column == nullptr) {
        SetWindowTextA(control, std::string(text).c_str());
        return;
    }
    SetWindowTextA(control, WithCrLf(text).c_str());
    wideText_.try_emplace(controlId, dialog_, *column).first->second.Fit();
}

void Win32PageView::FitWideText() {
    for (auto& [id, column] : wideText_) column.Fit();
}

bool Win32PageView::IsChecked(int controlId) {
    return SendMessageA(Control(controlId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32PageView::SetChecked(int controlId, bool checked) {
    SendMessageA(Control(controlId), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!checked) KeepRadioGroupReachable(dialog_, layout_, controlId);
}

void Win32PageView::SetVisible(int controlId, bool visible) {
    ShowWindow(Control(controlId), visible ? SW_SHOW : SW_HIDE);
}

bool Win32PageView::IsVisible(int controlId) {
    // The control's own style: IsWindowVisible would also ask the page, hidden during set-up.
    return (GetWindowLongPtrA(Control(controlId), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32PageView::SetEnabled(int controlId, bool enabled) {
    EnableWindow(Control(controlId), enabled ? TRUE : FALSE);
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
