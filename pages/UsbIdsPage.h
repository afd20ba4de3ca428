#pragma once

#include "pages/FieldPage.h"

namespace usbwiz {

// The Vendor and Product ID page of either kind.
class UsbIdsPage : public FieldPage {
  protected:
    UsbIdsPage(const WizardSettings& settings, PageServices& services, PageId next, PageId back)
        : FieldPage(settings, services, next, back) {}

    // Both identifiers hexadecimal first, then both filled in: an empty identifier passes the
    // hexadecimal rule, so it is reported as a blank.
    std::optional<FailedCheck> FirstFailedCheck() const override;

    // Coming forward always offers the preinstaller again.
    void BeforeNext() override { settings_.UsePreinstaller = true; }
};

template <PageId kId, PageId kBack>
class IdsPage : public UsbIdsPage {
  public:
    IdsPage(const WizardSettings& settings, PageServices& services)
        : UsbIdsPage(settings, services, PageId::Options, kBack) {}
    PageId Id() const override { return kId; }
};

// The USB Vendor and Product ID of the virtual COM port package, and of the Ferrolink package.
using ComIdsPage = IdsPage<PageId::ComIds, PageId::ComDeviceNames>;
using FerrolinkIdsPage = IdsPage<PageId::FerrolinkIds, PageId::FerrolinkDeviceName>;

}  // namespace usbwiz
