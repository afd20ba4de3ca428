#pragma once

#include "pages/FieldPage.h"

namespace usbwiz {

// The name Device Manager shows for the Ferrolink device.
class FerrolinkDeviceNamePage : public FieldPage {
  public:
    FerrolinkDeviceNamePage(const WizardSettings& settings, PageServices& services)
        : FieldPage(settings, services, PageId::FerrolinkIds, PageId::FerrolinkNames) {}
    PageId Id() const override { return PageId::FerrolinkDeviceName; }
};

}  // namespace usbwiz
