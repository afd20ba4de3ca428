#include "settings/SettingsFields.h"

namespace usbwiz {

const TextField* FindTextField(std::string_view name) {
    for (const auto& f : kTextFields)
        if (f.name == name) return &f;
    return nullptr;
}

const TextField* FindTextField(std::string WizardSettings::*member) {
    for (const auto& f : kTextFields)
        if (f.member == member) return &f;
    return nullptr;
}

const FlagField* FindFlagField(std::string_view name) {
    for (const auto& f : kFlagFields)
        if (f.name == name) return &f;
    return nullptr;
}

}  // namespace usbwiz
