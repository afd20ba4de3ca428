#include "generate/GeneratePackage.h"

#include "generate/GenerationPlan.h"
#include "inf/InfStem.h"

namespace usbwiz {

GenerationOutcome GeneratePackage(const WizardSettings& settings, Platform& platform,
                                  const PayloadStore& store) {
    const std::vector<GenerationStep> plan = GenerationPlan(settings);
    if (plan.empty()) return {};
    for (const GenerationStep& step : plan)
        if (std::optional<WriteFailure> failure = step.run(settings, platform, store))
            return {false, std::move(failure)};
    return {true, std::nullopt};
}

void UpperCaseShortNameForGeneration(WizardSettings& settings) {
    if (settings.PackageKind == Package::ComPort)
        settings.ShortName = UpperCased(settings.ShortName);
}

}  // namespace usbwiz
