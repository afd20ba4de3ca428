#pragma once

#include "pages/Page.h"

namespace usbwiz {

// Whether the generated INF files name catalog files. No page of the chain opens it, so every
// record keeps CertificationChoice and DefaultCatalogFiles at 0.
class CertificationPage : public Page {
  public:
    using Page::Page;
    PageId Id() const override { return PageId::Certification; }
    void OnInit(PageView&) override {}

  protected:
    void OnNext(PageView& view) override {
        StoreChoice(view);
        HandOver(view, PageId::OutputDirectory);
    }
    void OnBack(PageView& view) override {
        StoreChoice(view);
        HandOver(view, PageId::Options);
    }

  private:
    // Next and Back alike store the selected answer; with none selected nothing changes.
    void StoreChoice(PageView& view);
};

}  // namespace usbwiz
