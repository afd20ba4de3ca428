#include "pages/SummaryPage.h"

#include <ctime>
#include <stdexcept>

#include "generate/CatalogTime.h"
#include "generate/GeneratePackage.h"
#include "generate/GeneratePackageWithCatalogs.h"
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
    std::optional<CatalogRequest> catalogs;
    if (WritesCatalogs(settings_, services_.catalogs)) {
        std::string refusal;
        catalogs = CatalogsToWrite(refusal);
        if (!catalogs) {
            view.ShowMessage(refusal, MessageIcon::Warning, MessageButtons::Ok);
            return;
        }
    }
    UpperCaseShortNameForGeneration(settings_);
    Platform& platform = services_.platform;
    const GenerationOutcome outcome =
        catalogs ? GeneratePackageWithCatalogs(settings_, platform, services_.payloads, *catalogs)
                 : GeneratePackage(settings_, platform, services_.payloads);
    if (outcome.failure) {
        platform.ShowMessage({std::string(kOpenFailedMessage), std::nullopt, outcome.failure->icon,
                              MessageButtons::Ok, nullptr});
        view.ShowMessage(kGenerationFailedMessage, MessageIcon::Error, MessageButtons::Ok);
    } else if (outcome.written) {
        view.ShowMessage(kGenerationSucceededMessage, MessageIcon::None, MessageButtons::Ok);
        EndWizard(view);
    }
}

// The catalogs as usbdrvgen makes them with the same hash, key and SOURCE_DATE_EPOCH; their
// signer was loaded and checked by the certification page's Next.
std::optional<CatalogRequest> SummaryPage::CatalogsToWrite(std::string& refusal) const {
    const CatalogChoice& choice = services_.catalogs;
    const std::optional<std::int64_t> time =
        CatalogTime(services_.sourceDateEpoch, std::time(nullptr), refusal);
    if (!time) return std::nullopt;
    CatalogRequest request{{choice.hash, *time, services_.codePage}, nullptr, {}, {}};
    if (!SignsCatalogs(settings_, choice)) return request;
    if (!choice.signing.key) throw std::logic_error("the catalogs' signer was not prepared");
    request.signer = &choice.signing.signer;
    if (choice.source == CatalogSource::TestCertificate) {
        request.testCertificatePath = TestCertificatePath(settings_, choice);
        request.testCertificate = choice.signing.testCertificate;
    }
    return request;
}

}  // namespace usbwiz
