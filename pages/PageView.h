#pragma once

#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace usbwiz {

// A page's dialog as the page code sees it. The Win32 host implements it over a real dialog;
// the scripted host of the tests implements it in memory.
class PageView {
  public:
    virtual ~PageView() = default;

    virtual std::string GetText(int controlId) = 0;
    virtual void SetText(int controlId, std::string_view text) = 0;
    virtual bool IsChecked(int controlId) = 0;
    virtual void SetChecked(int controlId, bool checked) = 0;
    virtual void SetVisible(int controlId, bool visible) = 0;
    virtual bool IsVisible(int controlId) = 0;
    // A disabled control shows greyed and takes neither clicks, typing nor the focus.
    virtual void SetEnabled(int controlId, bool enabled) = 0;
    // Moves the focus as the dialog's Tab does: an edit's whole text is selected.
    virtual void SetFocus(int controlId) = 0;

    // The page's window, opaque to the core: the owner of the platform's dialogs for the page.
    virtual WindowRef Window() = 0;

    // A message box owned by the page, with the program's name as caption.
    virtual MessageAnswer ShowMessage(std::string_view text, MessageIcon icon,
                                      MessageButtons buttons) = 0;

    // Ends the page's modal run. The page says afterwards where the wizard goes (Page::Next).
    virtual void EndPage() = 0;
};

}  // namespace usbwiz
