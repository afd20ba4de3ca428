#pragma once

#include "pages/Page.h"

namespace usbwiz {

// The first page: the user chooses which kind of package to build. Choosing a kind other than
// the record's fills the record with that kind's defaults.
class WelcomePage : public Page {
  public:
    using Page::Page;
    PageId Id() const override { return PageId::Welcome; }
    void OnInit(PageView& view) override;

  protected:
    void OnNext(PageView& view) override;
    void OnControl(PageView& view, int controlId) override;
};

}  // namespace usbwiz
