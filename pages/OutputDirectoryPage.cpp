#include "pages/OutputDirectoryPage.h"

#include "generate/GenerationPlan.h"
#include "generate/StagedPathLength.h"
#include "pages/BrowseForOutputDirectory.h"
#include "pages/CreateDirectoryPath.h"
#include "pages/PageLayout.h"
#include "settings/FolderRules.h"
#include "settings/InputRules.h"
#include "signing/TestCertificateFolder.h"

namespace usbwiz {
namespace {

// Why the package of `settings` cannot be written into `directory`, a folder level named as
// Windows cannot make it or a path that grows too long for Windows; nullopt when it can.
std::optional<std::string> FindFolderFault(Platform& platform, const WizardSettings& settings,
                                           const std::string& directory, unsigned codePage) {
    if (std::optional<std::string> refused = FindFolderRefusal(directory, '\\', codePage))
        return refused;
    std::vector<std::string> names;
    for (const PlannedFile& file : GenerationPlan(settings))
        if (file.wanted) names.push_back(file.name);
    return FindTooLongStagedPath(platform.FullPath(directory).value_or(directory), std::move(names),
                                 '\\', codePage);
}

}  // namespace

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
    // Before anything is made: a level Windows cannot make fails after the levels before it,
    // and a path too long fails after some of the files.
    if (const std::optional<std::string> fault =
            FindFolderFault(services_.platform, settings_, directory, services_.codePage)) {
        RefuseText(view, kOutputDirectoryEdit, "Directory: " + *fault + ".");
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

// Cancelling the browser, or choosing what has no path, keeps what was typed; so does a folder
// whose name the code page cannot write, which is said.
void OutputDirectoryPage::Browse(PageView& view) {
    const BrowsedFolder chosen = BrowseForOutputDirectory(services_.platform, view.Window());
    view.SetText(kOutputDirectoryEdit, chosen.path.value_or(view.GetText(kOutputDirectoryEdit)));
    if (chosen.notInCodePage)
        RefuseText(view, kOutputDirectoryEdit, FolderNotInCodePageMessage(services_.codePage));
}

}  // namespace usbwiz
