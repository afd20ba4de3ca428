#pragma once

#include <optional>
#include <string>

#include "generate/GeneratePackageWithCatalogs.h"
#include "pages/Page.h"

namespace usbwiz {

// Every setting before generation: labels on the left, values on the right, line by line.
// Finish generates the package from this page's own record, with the catalogs the
// certification page chose.
class SummaryPage : public Page {
  public:
    using Page::Page;
    PageId Id() const override { return PageId::Summary; }
    void OnInit(PageView& view) override;

  protected:
    void OnNext(PageView& view) override;  // Finish
    void OnBack(PageView& view) override { HandOver(view, PageId::OutputDirectory); }

  private:
    // The catalogs Finish writes; nullopt with `refusal` set when their time cannot be had.
    std::optional<CatalogRequest> CatalogsToWrite(std::string& refusal) const;
};

}  // namespace usbwiz
