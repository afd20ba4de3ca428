#include "pages/UsbIdsPage.h"

#include "settings/InputRules.h"

namespace usbwiz {
namespace {

constexpr FieldBinding kIdFields[] = {
    {1011, &WizardSettings::Vid},
    {1004, &WizardSettings::Pid},
};

}  // namespace

UsbIdsPage::UsbIdsPage(const WizardSettings& settings, PageServices& services, PageId next,
                       PageId back)
    : FieldPage(settings, services, kIdFields, next, back) {}

std::optional<std::string_view> UsbIdsPage::FirstFailedCheck() const {
    for (const FieldBinding& binding : Fields())
        if (!IsHexText(settings_.*binding.field)) return kInvalidHexMessage;
    return FieldPage::FirstFailedCheck();
}

}  // namespace usbwiz
