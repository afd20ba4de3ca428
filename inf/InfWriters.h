#pragma once

#include <string>

#include "settings/WizardSettings.h"

namespace usbwiz {

// Each renders its INF file for the record, whole, as the package holds it.

// {{InfPrefix}}bus.inf
std::string RenderBusInf(const WizardSettings& settings);
// tarnvxd.inf (a fixed name)
std::string RenderVxdPortInf(const WizardSettings& settings);
// {{InfPrefix}}w2k.inf
std::string RenderW2kSerialInf(const WizardSettings& settings);
// {{InfPrefix}}wdm.inf
std::string RenderWdmSerialInf(const WizardSettings& settings);
// {{InfName}}.inf
std::string RenderFerrolinkInf(const WizardSettings& settings);

}  // namespace usbwiz
