#pragma once

#include "pages/FieldPage.h"

namespace usbwiz {

// The names Device Manager shows for the COM port and the USB device.
class ComDeviceNamesPage : public FieldPage {
  public:
    ComDeviceNamesPage(const WizardSettings& settings, PageServices& services)
        : FieldPage(settings, services, PageId::ComIds, PageId::ComNames) {}
    PageId Id() const override { return PageId::ComDeviceNames; }
};

}  // namespace usbwiz
