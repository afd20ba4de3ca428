#pragma once

#include "pages/Page.h"

namespace usbwiz {

// Tells the user that a customised installation loses the driver certification. No fields, no
// checks: Next and Back hand the record on unchanged.
class WarningPage : public Page {
  public:
    using Page::Page;
    PageId Id() const override { return PageId::Warning; }
    void OnInit(PageView&) override {}

  protected:
    void OnNext(PageView& view) override;
    void OnBack(PageView& view) override;
};

}  // namespace usbwiz
