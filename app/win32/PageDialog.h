#pragma once

#include <optional>
#include <string>

#include "app/win32/DialogBase.h"
#include "app/win32/Win32PageView.h"
#include "pages/Page.h"
#include "pages/PageLayout.h"

namespace usbwiz {

// A portable page shown as a real dialog: the frame every page shares (its own taskbar button,
// edit limits, the default button, the pictures at the page's scale) and the routing of clicks,
// Enter, Esc and the close box to the page.
class PageDialog : public DialogBase {
  public:
    PageDialog(Page& page, const PageLayout& layout, Platform& platform, std::string title)
        : page_(page), layout_(layout), platform_(platform), title_(std::move(title)) {}

  protected:
    bool OnInitDialog() override;
    void OnCommand(int controlId, int notification) override;
    void OnDpiChanged() override;
    void OnDestroy() override;

  private:
    int DefaultButtonId() const;
    // The banner drawn to fill its frame and the icon at the size of its frame, for the dialog's
    // present scale.
    void FitPictures();

    Page& page_;
    const PageLayout& layout_;
    Platform& platform_;
    std::string title_;
    std::optional<Win32PageView> view_;
    HICON icon_ = nullptr;  // the icon this dialog gave its icon control
};

}  // namespace usbwiz
