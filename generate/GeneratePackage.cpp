#include "generate/GeneratePackage.h"

#include "generate/GenerationPlan.h"

namespace usbwiz {

bool GeneratePackage(WizardSettings& settings, Platform& platform, const PayloadStore& store,
                     GenerationPage& page) {
    const std::vector<GenerationStep> plan = GenerationPlan(settings);
    if (plan.empty()) return false;

    for (const GenerationStep& step : plan) {
        if (step.run(settings, platform, store) == 0) {
            page.ShowPageMessage(kGenerationFailedMessage, MessageIcon::Error);
            return false;
        }
    }
    page.ShowPageMessage(kGenerationSucceededMessage, MessageIcon::None);
    page.EndPage();
    return true;
}

}  // namespace usbwiz
