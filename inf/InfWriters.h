#pragma once

#include <optional>
#include <string>

#include "inf/TextFileWriter.h"
#include "platform/Platform.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

// Each writes its INF file into GenerationDirectory; what failed, or nullopt. Each Render gives
// the text it writes.

// {{InfPrefix}}bus.inf
std::optional<WriteFailure> WriteBusInf(const WizardSettings& settings, Platform& platform);
std::string RenderBusInf(const WizardSettings& settings);
// tarnvxd.inf (a fixed name); its failure carries the warning icon.
std::optional<WriteFailure> WriteVxdPortInf(const WizardSettings& settings, Platform& platform);
std::string RenderVxdPortInf(const WizardSettings& settings);
// {{InfPrefix}}w2k.inf
std::optional<WriteFailure> WriteW2kSerialInf(const WizardSettings& settings, Platform& platform);
std::string RenderW2kSerialInf(const WizardSettings& settings);
// {{InfPrefix}}wdm.inf
std::optional<WriteFailure> WriteWdmSerialInf(const WizardSettings& settings, Platform& platform);
std::string RenderWdmSerialInf(const WizardSettings& settings);
// {{InfName}}.inf
std::optional<WriteFailure> WriteFerrolinkInf(const WizardSettings& settings, Platform& platform);
std::string RenderFerrolinkInf(const WizardSettings& settings);

}  // namespace usbwiz
