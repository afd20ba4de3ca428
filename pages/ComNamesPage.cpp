#include "pages/ComNamesPage.h"

namespace usbwiz {
namespace {

constexpr FieldBinding kFields[] = {
    {1002, &WizardSettings::UninstallName},
    {1008, &WizardSettings::InfPrefix},
    {1003, &WizardSettings::ShortName},
    {1005, &WizardSettings::LongName},
};

}  // namespace

ComNamesPage::ComNamesPage(const WizardSettings& settings, PageServices& services)
    : FieldPage(settings, services, kFields, PageId::ComDeviceNames, PageId::Warning) {}

}  // namespace usbwiz
