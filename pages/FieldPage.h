#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pages/Page.h"

namespace usbwiz {

// An edit box of a page and the text field of the record it shows.
struct FieldBinding {
    int controlId;
    std::string WizardSettings::*field;
};

// A check that refused the text of an edit: its message, and that edit.
struct FailedCheck {
    std::string message;
    int controlId;
};

// The pattern of the names and identifier pages: the edits show their fields (as the page's
// layout binds them) when the page opens; Next reads them into the record, runs the page's checks
// in order and hands over only when all pass; Back reads them into the record without any check and
// hands over.
class FieldPage : public Page {
  public:
    void OnInit(PageView& view) override;

  protected:
    void OnNext(PageView& view) override;
    void OnBack(PageView& view) override;

    FieldPage(const WizardSettings& settings, PageServices& services, PageId next, PageId back)
        : Page(settings, services), nextPage_(next), backPage_(back) {}

    // The first check that fails on the record's fields, nullopt when all pass. By default every
    // bound field must be filled in, in the order of the bindings.
    virtual std::optional<FailedCheck> FirstFailedCheck() const;

    // After those checks: the first field, in page order, holding text that cannot stand where
    // the field lands in the package, with a message naming the field and the character; then a
    // file this page's fields name that would be the same file as another of the package.
    std::optional<FailedCheck> FirstUnsafeField() const;

    // Runs after the checks passed, just before the hand-over to the next page.
    virtual void BeforeNext() {}

    // The page's edits and the fields they show, top to bottom.
    std::vector<FieldBinding> Fields() const;

  private:
    void ReadControls(PageView& view);
    void ShowFields(PageView& view) const;

    PageId nextPage_;
    PageId backPage_;
};

// A names page: its template, and the pages its Next and Back open.
template <PageId kId, PageId kNext, PageId kBack>
class NamesPage : public FieldPage {
  public:
    NamesPage(const WizardSettings& settings, PageServices& services)
        : FieldPage(settings, services, kNext, kBack) {}
    PageId Id() const override { return kId; }
};

// The virtual COM port package's file and entry names.
using ComNamesPage = NamesPage<PageId::ComNames, PageId::ComDeviceNames, PageId::Warning>;
// The names Device Manager shows for the COM port and the USB device.
using ComDeviceNamesPage = NamesPage<PageId::ComDeviceNames, PageId::ComIds, PageId::ComNames>;
// The Ferrolink package's file and entry names.
using FerrolinkNamesPage =
    NamesPage<PageId::FerrolinkNames, PageId::FerrolinkDeviceName, PageId::Welcome>;
// The name Device Manager shows for the Ferrolink device.
using FerrolinkDeviceNamePage =
    NamesPage<PageId::FerrolinkDeviceName, PageId::FerrolinkIds, PageId::FerrolinkNames>;

}  // namespace usbwiz
