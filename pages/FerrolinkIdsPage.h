#pragma once

#include "pages/UsbIdsPage.h"

namespace usbwiz {

// The Ferrolink package's USB Vendor and Product ID.
class FerrolinkIdsPage : public UsbIdsPage {
  public:
    FerrolinkIdsPage(const WizardSettings& settings, PageServices& services)
        : UsbIdsPage(settings, services, PageId::Options, PageId::FerrolinkDeviceName) {}
    PageId Id() const override { return PageId::FerrolinkIds; }
};

}  // namespace usbwiz
