#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "app/win32/WideTextColumn.h"
#include "pages/PageLayout.h"
#include "pages/PageView.h"
#include "platform/Platform.h"

namespace usbwiz {

// The page's view of a real dialog. Asking for a control the dialog does not have throws
// std::logic_error: that is a fault of the page, not of the user.
class Win32PageView final : public PageView {
  public:
    Win32PageView(HWND dialog, const PageLayout& layout, Platform& platform,
                  std::string messageCaption)
        : dialog_(dialog),
          layout_(layout),
          platform_(platform),
          messageCaption_(std::move(messageCaption)) {}

    std::string GetText(int controlId) override;
    void SetText(int controlId, std::string_view text) override;
    bool IsChecked(int controlId) override;
    void SetChecked(int controlId, bool checked) override;
    void SetVisible(int controlId, bool visible) override;
    bool IsVisible(int controlId) override;
    void SetEnabled(int controlId, bool enabled) override;
    void SetFocus(int controlId) override;
    MessageAnswer ShowMessage(std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
    void EndPage() override;
    WindowRef Window() override { return dialog_; }

    // Whether the page has put the focus on a control itself.
    bool FocusWasSet() const { return focusWasSet_; }

    // Fits the read-only text columns that have a text to the page's present scale.
    void FitWideText();

  private:
    HWND Control(int controlId) const;

    HWND dialog_;
    const PageLayout& layout_;
    Platform& platform_;
    std::string messageCaption_;
    bool focusWasSet_ = false;
    std::map<int, WideTextColumn> wideText_;  // the read-only text columns given a text
};

}  // namespace usbwiz
