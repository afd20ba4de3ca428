#pragma once

#include "pages/FieldPage.h"

namespace usbwiz {

// The Ferrolink package's file and entry names.
class FerrolinkNamesPage : public FieldPage {
  public:
    FerrolinkNamesPage(const WizardSettings& settings, PageServices& services)
        : FieldPage(settings, services, PageId::FerrolinkDeviceName, PageId::Welcome) {}
    PageId Id() const override { return PageId::FerrolinkNames; }
};

}  // namespace usbwiz
