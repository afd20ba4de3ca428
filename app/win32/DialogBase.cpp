#include "app/win32/DialogBase.h"

#include <stdexcept>
#include <string>

#include "platform/Win32Platform.h"

namespace usbwiz {

namespace {

// Posted to the dialog after WM_DPICHANGED, so that it arrives once Windows has scaled the
// dialog's controls.
constexpr UINT kScaledMessage = WM_APP + 1;

}  // namespace

void DialogBase::RunModal(HINSTANCE instance, const DLGTEMPLATE* dialogTemplate, HWND owner) {
    failure_ = nullptr;
    instance_ = instance;
    const INT_PTR result =
        DialogBoxIndirectParamA(instance, dialogTemplate, owner, &DialogBase::DialogProcedure,
                                reinterpret_cast<LPARAM>(this));
    window_ = nullptr;
    if (failure_) std::rethrow_exception(failure_);
    if (result == -1) throw std::runtime_error("cannot create a dialog: " + LastErrorText());
}

INT_PTR CALLBACK DialogBase::DialogProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<DialogBase*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
        dialog->window_ = window;
    }
    // Messages sent before WM_INITDIALOG (WM_SETFONT) find no object yet.
    auto* dialog = reinterpret_cast<DialogBase*>(GetWindowLongPtrA(window, DWLP_USER));
    if (dialog == nullptr || dialog->failure_) return FALSE;
    try {
        return dialog->HandleMessage(message, wParam);
    } catch (...) {
        dialog->failure_ = std::current_exception();
        EndDialog(window, -1);
        return TRUE;
    }
}

INT_PTR DialogBase::HandleMessage(UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog() ? TRUE : FALSE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_PAINT:
            return OnPaint() ? TRUE : FALSE;
        case WM_QUERYDRAGICON:
            // One of the few messages whose answer is the dialog procedure's return value.
            return reinterpret_cast<INT_PTR>(OnQueryDragIcon());
        case WM_DPICHANGED:
            PostMessageA(window_, kScaledMessage, 0, 0);
            return FALSE;  // the dialog manager scales the dialog and its controls
        case kScaledMessage:
            OnDpiChanged();
            return TRUE;
        case WM_DESTROY:
            OnDestroy();
            return FALSE;
    }
    return FALSE;
}

}  // namespace usbwiz
