#include "pages/SummaryPage.h"

#include "generate/GeneratePackage.h"
#include "generate/SummaryText.h"

namespace usbwiz {
void SummaryPage::OnInit(PageView& view) {
    // A kind without labels of its own keeps the template's text.
    if (settings_.PackageKind == Package::ComPort || settings_.PackageKind == Package::Ferrolink)
        view.SetText(kSummaryLabels, SummaryLabelText(settings_.PackageKind));
    view.SetText(kSummaryValues, BuildSummaryText(settings_));
}

// The record goes to generation as it is: nothing is re-read or re-checked. A failure leaves
// the page open with the record as Finish left it (ShortName upper-cased), and Back carries
// that on. The failed file's message has no owner and no caption of ours, as it always had;
// the verdict belongs to the page, and success ends the wizard.
void SummaryPage::OnNext(PageView& view) {
    UpperCaseShortNameForGeneration(settings_);
    const GenerationOutcome outcome =
        GeneratePackage(settings_, services_.platform, services_.payloads);
    if (outcome.failure) {
        services_.platform.ShowMessage({std::string(kOpenFailedMessage), std::nullopt,
                                        outcome.failure->icon, MessageButtons::Ok, nullptr});
        view.ShowMessage(kGenerationFailedMessage, MessageIcon::Error, MessageButtons::Ok);
    } else if (outcome.written) {
        view.ShowMessage(kGenerationSucceededMessage, MessageIcon::None, MessageButtons::Ok);
        EndWizard(view);
    }
}

}  // namespace usbwiz
