#pragma once

#include <functional>
#include <string>
#include <vector>

#include "generate/PayloadStore.h"
#include "platform/Platform.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

// One producer call of a package: the files it writes, in order, and the call itself.
struct GenerationStep {
    std::vector<std::string> fileNames;  // bare names, written behind GenerationDirectory
    std::function<int(WizardSettings&, Platform&, const PayloadStore&)> run;
};

// The fixed plan of the record's kind, PreInstaller.exe included only when UsePreinstaller is
// set; empty for any kind but 1 and 2.
std::vector<GenerationStep> GenerationPlan(const WizardSettings& settings);

// Every path the plan writes, in the order the files are created.
std::vector<std::string> PlannedOutputPaths(const WizardSettings& settings);

}  // namespace usbwiz
