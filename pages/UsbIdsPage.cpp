#include "pages/UsbIdsPage.h"

#include "settings/InputRules.h"

namespace usbwiz {
std::optional<FailedCheck> UsbIdsPage::FirstFailedCheck() const {
    for (const FieldBinding& binding : Fields())
        if (!IsHexText(settings_.*binding.field))
            return FailedCheck{std::string(kInvalidHexMessage), binding.controlId};
    return FieldPage::FirstFailedCheck();
}

}  // namespace usbwiz
