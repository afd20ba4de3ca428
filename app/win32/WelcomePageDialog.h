#pragma once

#include "app/win32/PageDialog.h"

namespace usbwiz {

// The welcome page also carries the program's icon: on its window, drawn while it is minimised
// and given as the drag icon, each at the sizes for the window's scale.
class WelcomePageDialog final : public PageDialog {
  public:
    WelcomePageDialog(Page& page, const PageLayout& layout, Platform& platform, std::string title)
        : PageDialog(page, layout, platform, std::move(title)) {}
    ~WelcomePageDialog() override;

  protected:
    bool OnInitDialog() override;
    bool OnPaint() override;
    HICON OnQueryDragIcon() override { return largeIcon_; }
    void OnDpiChanged() override;

  private:
    void SetWindowIcons();

    HICON largeIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
};

}  // namespace usbwiz
