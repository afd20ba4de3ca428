#include "pages/OutputDirectoryPage.h"

#include "pages/BrowseForOutputDirectory.h"
#include "pages/CreateDirectoryPath.h"
#include "pages/PageLayout.h"
#include "settings/InputRules.h"
#include "signing/TestCertificateFolder.h"

namespace usbwiz {

void OutputDirectoryPage::OnInit(PageView& view) {
    view.SetText(kOutputDirectoryEdit, settings_.GenerationDirectory);
}

void OutputDirectoryPage::OnControl(PageView& view, int controlId) {
    if (controlId == kBrowseButton) Browse(view);
}

void OutputDirectoryPage::OnNext(PageView& view) {
    std::string directory = view.GetText(kOutputDirectoryEdit);
    if (!IsValidPathText(directory)) {
        RefuseText(view, kOutputDirectoryEdit, kInvalidDirectoryMessage);
        return;
    }

    // The test certificate's folder was chosen before this one was known.
    const CatalogChoice& catalogs = services_.catalogs;
    if (SignsCatalogs(settings_, catalogs) && catalogs.source == CatalogSource::TestCertificate) {
        if (const std::optional<std::string> why =
                WhyNoTestCertificateFolder(catalogs.testCertificateFolder, directory)) {
            RefuseText(view, kOutputDirectoryEdit,
                       std::string(LabelOf(PageId::Certification, kTestCertificateFolderEdit)) +
                           ": " + *why);
            return;
        }
    }
    const bool exists = DirectoryEntryExists(services_.platform, directory);
    directory = WithTrailingBackslash(directory);
    if (!exists) {
        if (view.ShowMessage(kCreateDirectoryQuestion, MessageIcon::Question,
                             MessageButtons::YesNo) != MessageAnswer::Yes)
            return;
        if (!CreateDirectoryPath(services_.platform, directory)) {
            view.ShowMessage(kCreateDirectoryFailedMessage, MessageIcon::Warning,
                             MessageButtons::Ok);
            view.SetText(kOutputDirectoryEdit, directory);
            view.SetFocus(kOutputDirectoryEdit);
            return;
        }
    }
    settings_.GenerationDirectory = directory;
    HandOver(view, PageId::Summary);
}

void OutputDirectoryPage::OnBack(PageView& view) {
    settings_.GenerationDirectory = WithTrailingBackslash(view.GetText(kOutputDirectoryEdit));
    view.SetText(kOutputDirectoryEdit, settings_.GenerationDirectory);
    HandOver(view,
             settings_.PackageKind == Package::ComPort ? PageId::Certification : PageId::Options);
}

// Cancelling the browser, or choosing what has no path, keeps what was typed.
void OutputDirectoryPage::Browse(PageView& view) {
    const std::optional<std::string> chosen =
        BrowseForOutputDirectory(services_.platform, view.Window());
    view.SetText(kOutputDirectoryEdit, chosen.value_or(view.GetText(kOutputDirectoryEdit)));
}

}  // namespace usbwiz
