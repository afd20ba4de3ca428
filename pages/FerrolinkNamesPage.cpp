#include "pages/FerrolinkNamesPage.h"

namespace usbwiz {
namespace {

constexpr FieldBinding kFields[] = {
    {1002, &WizardSettings::UninstallName}, {1038, &WizardSettings::InfName},
    {1037, &WizardSettings::SysName},       {1003, &WizardSettings::ShortName},
    {1005, &WizardSettings::LongName},
};

}  // namespace

FerrolinkNamesPage::FerrolinkNamesPage(const WizardSettings& settings, PageServices& services)
    : FieldPage(settings, services, kFields, PageId::FerrolinkDeviceName, PageId::Welcome) {}

}  // namespace usbwiz
