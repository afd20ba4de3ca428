#include "pages/UsbIdsPage.h"

#include "settings/InputRules.h"

namespace usbwiz {
std::optional<std::string_view> UsbIdsPage::FirstFailedCheck() const {
    for (const FieldBinding& binding : Fields())
        if (!IsHexText(settings_.*binding.field)) return kInvalidHexMessage;
    return FieldPage::FirstFailedCheck();
}

}  // namespace usbwiz
