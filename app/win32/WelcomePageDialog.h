#pragma once

#include "app/win32/PageDialog.h"

namespace usbwiz {

// The welcome page also carries the program's icon: on its window, drawn while it is minimised
// and given as the drag icon.
class WelcomePageDialog final : public PageDialog {
  public:
    WelcomePageDialog(Page& page, const PageLayout& layout, Platform& platform, std::string title,
                      HINSTANCE instance);
    ~WelcomePageDialog() override;

  protected:
    bool OnInitDialog() override;
    bool OnPaint() override;
    HICON OnQueryDragIcon() override { return largeIcon_; }

  private:
    HICON largeIcon_;
    HICON smallIcon_;
};

}  // namespace usbwiz
