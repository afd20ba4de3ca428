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
    std::optional<std::string_view> FirstFailedCheck() const override;

    // Coming forward always offers the preinstaller again.
    void BeforeNext() override { settings_.UsePreinstaller = true; }
};

}  // namespace usbwiz
