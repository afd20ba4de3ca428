#include "pages/ComDeviceNamesPage.h"

namespace usbwiz {
namespace {

constexpr FieldBinding kFields[] = {
    {1009, &WizardSettings::ComDeviceName},
    {1010, &WizardSettings::UsbDeviceName},
};

}  // namespace

ComDeviceNamesPage::ComDeviceNamesPage(const WizardSettings& settings, PageServices& services)
    : FieldPage(settings, services, kFields, PageId::ComIds, PageId::ComNames) {}

}  // namespace usbwiz
