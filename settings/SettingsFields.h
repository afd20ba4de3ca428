#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/WizardSettings.h"

namespace usbwiz {

// The record's text fields by name, with the longest text the wizard's edit boxes accept.
// Shared by the template renderer, the pages and the command-line generator.
struct TextField {
    std::string_view name;
    std::string WizardSettings::*member;
    std::size_t maxLength;
};

struct FlagField {
    std::string_view name;
    bool WizardSettings::*member;
};

inline constexpr std::array<TextField, 12> kTextFields{{
    {"UninstallName", &WizardSettings::UninstallName, 8},
    {"InfPrefix", &WizardSettings::InfPrefix, 4},
    {"InfName", &WizardSettings::InfName, 8},
    {"SysName", &WizardSettings::SysName, 8},
    {"ShortName", &WizardSettings::ShortName, 31},
    {"LongName", &WizardSettings::LongName, 255},
    {"ComDeviceName", &WizardSettings::ComDeviceName, 255},
    {"UsbDeviceName", &WizardSettings::UsbDeviceName, 255},
    {"Vid", &WizardSettings::Vid, 4},
    {"Pid", &WizardSettings::Pid, 4},
    {"TargetDirectory", &WizardSettings::TargetDirectory, 260},
    {"GenerationDirectory", &WizardSettings::GenerationDirectory, 260},
}};

inline constexpr std::array<FlagField, 7> kFlagFields{{
    {"UsePreinstaller", &WizardSettings::UsePreinstaller},
    {"QuietSetup", &WizardSettings::QuietSetup},
    {"SkipFileCopy", &WizardSettings::SkipFileCopy},
    {"QuietUninstall", &WizardSettings::QuietUninstall},
    {"LeaveFiles", &WizardSettings::LeaveFiles},
    {"CertificationChoice", &WizardSettings::CertificationChoice},
    {"DefaultCatalogFiles", &WizardSettings::DefaultCatalogFiles},
}};

// The longest text the edit box of `member` takes.
constexpr int FieldLimit(std::string WizardSettings::*member) {
    for (const TextField& f : kTextFields)
        if (f.member == member) return static_cast<int>(f.maxLength);
    return 0;
}

// nullptr when no text field has that name.
const TextField* FindTextField(std::string_view name);
const TextField* FindTextField(std::string WizardSettings::*member);
const FlagField* FindFlagField(std::string_view name);

}  // namespace usbwiz
