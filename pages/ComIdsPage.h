#pragma once

#include "pages/UsbIdsPage.h"

namespace usbwiz {

// The virtual COM port package's USB Vendor and Product ID.
class ComIdsPage : public UsbIdsPage {
  public:
    ComIdsPage(const WizardSettings& settings, PageServices& services)
        : UsbIdsPage(settings, services, PageId::Options, PageId::ComDeviceNames) {}
    PageId Id() const override { return PageId::ComIds; }
};

}  // namespace usbwiz
