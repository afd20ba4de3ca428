#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/WizardSettings.h"

namespace usbwiz {

// The label column of the summary page, one line per value line, joined by "\n".
inline constexpr std::string_view kComPortSummaryLabels =
    "* Uninstall INI File Name:\n"
    "* INF File Names:\n"
    "\n"
    "* Short Name:\n"
    "* Long Name:\n"
    "\n"
    "* COM Device Name:\n"
    "* USB Device Name:\n"
    "\n"
    "* VID:\n"
    "* PID:\n"
    "\n"
    "*Use Preinstaller?\n"
    "*Display Setup?\n"
    "*Copy Files?\n"
    "*Target Directory:\n"
    "*Display Uninstall?\n"
    "*Leave Files?\n"
    "\n"
    "*Generation Directory:";

inline constexpr std::string_view kFerrolinkSummaryLabels =
    "* Uninstall INI File Name:\n"
    "* INF File Name:\n"
    "* Driver File Name:\n"
    "\n"
    "* Short Name:\n"
    "* Long Name:\n"
    "\n"
    "* USB Device Name:\n"
    "\n"
    "* VID:\n"
    "* PID:\n"
    "\n"
    "*Use Preinstaller?\n"
    "*Display Setup?\n"
    "*Copy Files?\n"
    "*Target Directory:\n"
    "*Display Uninstall?\n"
    "*Leave Files?\n"
    "\n"
    "*Generation Directory:";

// The value column for the record's kind: twenty lines joined by "\r\n" (the edit control needs
// both), no trailing break. Empty for a kind other than 1 or 2.
std::string BuildSummaryText(const WizardSettings& settings);

// The label column for `kind`; the virtual COM port labels for any kind but 2.
std::string_view SummaryLabelText(Package kind);

}  // namespace usbwiz
