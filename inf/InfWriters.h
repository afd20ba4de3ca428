#pragma once

#include <optional>

#include "inf/TextFileWriter.h"
#include "platform/Platform.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

// Each writes its INF file into GenerationDirectory; what failed, or nullopt.

// {{InfPrefix}}bus.inf
std::optional<WriteFailure> WriteBusInf(const WizardSettings& settings, Platform& platform);
// tarnvxd.inf (a fixed name); its failure carries the warning icon.
std::optional<WriteFailure> WriteVxdPortInf(const WizardSettings& settings, Platform& platform);
// {{InfPrefix}}w2k.inf
std::optional<WriteFailure> WriteW2kSerialInf(const WizardSettings& settings, Platform& platform);
// {{InfPrefix}}wdm.inf
std::optional<WriteFailure> WriteWdmSerialInf(const WizardSettings& settings, Platform& platform);
// {{InfName}}.inf
std::optional<WriteFailure> WriteFerrolinkInf(const WizardSettings& settings, Platform& platform);

}  // namespace usbwiz
