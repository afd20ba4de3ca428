#pragma once

#include "pages/FieldPage.h"

namespace usbwiz {

// The virtual COM port package's file and entry names.
class ComNamesPage : public FieldPage {
  public:
    ComNamesPage(const WizardSettings& settings, PageServices& services)
        : FieldPage(settings, services, PageId::ComDeviceNames, PageId::Warning) {}
    PageId Id() const override { return PageId::ComNames; }
};

}  // namespace usbwiz
