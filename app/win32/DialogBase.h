#pragma once

#include <windows.h>

#include <exception>

namespace usbwiz {

// A modal dialog whose messages reach virtual handlers of this object. No exception leaves a
// handler for Windows: the first one ends the dialog and RunModal rethrows it once the modal
// loop has returned.
class DialogBase {
  public:
    DialogBase() = default;
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;
    virtual ~DialogBase() = default;

    // Runs the dialog until it ends. Throws when the dialog cannot be created or a handler threw.
    void RunModal(HINSTANCE instance, const DLGTEMPLATE* dialogTemplate, HWND owner);

  protected:
    HWND Handle() const { return window_; }
    HINSTANCE Instance() const { return instance_; }
    void End() { EndDialog(window_, 0); }

    // Answers whether Windows should give the focus to the first tab stop (false: the handler
    // set the focus itself).
    virtual bool OnInitDialog() = 0;
    virtual void OnCommand(int controlId, int notification) = 0;
    // Answers whether the paint was handled; otherwise the dialog paints as usual.
    virtual bool OnPaint() { return false; }
    // The icon shown while a minimised window is dragged; nullptr for the default.
    virtual HICON OnQueryDragIcon() { return nullptr; }
    // The dialog has moved to a screen of another scale and Windows has scaled its controls
    // and font (per-monitor awareness, version 2); what Windows does not scale is up to us.
    virtual void OnDpiChanged() {}
    // The dialog is being destroyed; its controls still exist.
    virtual void OnDestroy() {}

  private:
    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam);

    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    std::exception_ptr failure_;
};

}  // namespace usbwiz
