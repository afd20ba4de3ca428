#pragma once

#include "platform/Platform.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

// Each writes its INF file into GenerationDirectory and answers 1, or shows the open-failure
// message and answers 0.

// {{InfPrefix}}bus.inf. Upper-cases the record's ShortName first, in the caller's record.
int WriteBusInf(WizardSettings& settings, Platform& platform);
// tarnvxd.inf (a fixed name); its failure message carries the warning icon.
int WriteVxdPortInf(const WizardSettings& settings, Platform& platform);
// {{InfPrefix}}w2k.inf
int WriteW2kSerialInf(const WizardSettings& settings, Platform& platform);
// {{InfPrefix}}wdm.inf
int WriteWdmSerialInf(const WizardSettings& settings, Platform& platform);
// {{InfName}}.inf
int WriteFerrolinkInf(const WizardSettings& settings, Platform& platform);

}  // namespace usbwiz
