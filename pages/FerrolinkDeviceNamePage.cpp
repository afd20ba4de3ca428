#include "pages/FerrolinkDeviceNamePage.h"

namespace usbwiz {
namespace {

constexpr FieldBinding kFields[] = {
    {1010, &WizardSettings::UsbDeviceName},
};

}  // namespace

FerrolinkDeviceNamePage::FerrolinkDeviceNamePage(const WizardSettings& settings,
                                                 PageServices& services)
    : FieldPage(settings, services, kFields, PageId::FerrolinkIds, PageId::FerrolinkNames) {}

}  // namespace usbwiz
