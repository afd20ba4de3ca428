#include "pages/SummaryPage.h"

#include "generate/GeneratePackage.h"
#include "generate/SummaryText.h"

namespace usbwiz {

namespace {

// The line the catalogs take: the empty one before the generation directory.
constexpr std::size_t kCatalogLine = 18;
constexpr std::string_view kCatalogLabel = "*Catalogs:";

// `text` with its line `index` (lines end at `separator`) replaced by `line`.
std::string WithLine(std::string_view text, std::size_t index, std::string_view line,
                     std::string_view separator) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < index && start != std::string_view::npos; ++i) {
        start = text.find(separator, start);
        if (start != std::string_view::npos) start += separator.size();
    }
    if (start == std::string_view::npos) return std::string(text);
    const std::size_t end = text.find(separator, start);
    return std::string(text.substr(0, start)) + std::string(line) +
           std::string(end == std::string_view::npos ? std::string_view() : text.substr(end));
}

}  // namespace

void SummaryPage::OnInit(PageView& view) {
    // A kind without labels of its own keeps the template's text.
    const bool known =
        settings_.PackageKind == Package::ComPort || settings_.PackageKind == Package::Ferrolink;
    std::string labels(SummaryLabelText(settings_.PackageKind));
    std::string values = BuildSummaryText(settings_);
    if (const std::optional<std::string> catalogs = CatalogSummary(settings_, services_.catalogs)) {
        labels = WithLine(labels, kCatalogLine, kCatalogLabel, "\n");
        values = WithLine(values, kCatalogLine, *catalogs, "\r\n");
    }
    if (known) view.SetText(kSummaryLabels, labels);
    view.SetText(kSummaryValues, values);
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
