#include "pages/OptionsPage.h"

#include <array>

#include "pages/OptionsHelpTexts.h"
#include "settings/InputRules.h"

namespace usbwiz {
namespace {

// The controls that only mean something when a preinstaller is generated.
constexpr std::array<int, 8> kPreinstallerControls{
    kDisplaySetupBox, kCopyFilesBox,        kTargetDirectoryEdit,  kDisplaySetupHelp,
    kCopyFilesHelp,   kTargetDirectoryHelp, kTargetDirectoryLabel, kTargetDirectoryNote};

struct HelpButton {
    int controlId;
    std::string_view text;
};

constexpr std::array<HelpButton, 5> kHelpButtons{{
    {kUsePreinstallerHelp, kPreinstallerHelpText},
    {kDisplaySetupHelp, kDisplaySetupHelpText},
    {kCopyFilesHelp, kCopyFilesHelpText},
    {kTargetDirectoryHelp, kTargetDirectoryHelpText},
    {kDisplayUninstallHelp, kDisplayUninstallHelpText},
}};

void ShowPreinstallerControls(PageView& view, bool visible) {
    for (int id : kPreinstallerControls) view.SetVisible(id, visible);
}

}  // namespace

void OptionsPage::OnInit(PageView& view) {
    view.SetChecked(kUsePreinstallerBox, settings_.UsePreinstaller);
    view.SetChecked(kDisplaySetupBox, !settings_.QuietSetup);
    view.SetChecked(kCopyFilesBox, !settings_.SkipFileCopy);
    view.SetText(kTargetDirectoryEdit, settings_.TargetDirectory);
    view.SetChecked(kDisplayUninstallBox, !settings_.QuietUninstall);
    view.SetChecked(kLeaveFilesBox, settings_.LeaveFiles);
    if (!settings_.UsePreinstaller) ShowPreinstallerControls(view, false);
}

void OptionsPage::OnControl(PageView& view, int controlId) {
    for (const HelpButton& help : kHelpButtons)
        if (help.controlId == controlId)
            view.ShowMessage(help.text, MessageIcon::None, MessageButtons::Ok);
    if (controlId == kUsePreinstallerBox) PreinstallerToggled(view);
}

void OptionsPage::OnNext(PageView& view) {
    if (!IsValidPathText(view.GetText(kTargetDirectoryEdit))) {
        RefuseText(view, kTargetDirectoryEdit, kInvalidDirectoryMessage);
        return;
    }
    StoreOptions(view);
    // The Ferrolink INF names no catalog: that package has no certification step.
    HandOver(view, settings_.PackageKind == Package::ComPort ? PageId::Certification
                                                             : PageId::OutputDirectory);
}

void OptionsPage::OnBack(PageView& view) {
    StoreOptions(view);
    HandOver(view,
             settings_.PackageKind == Package::Ferrolink ? PageId::FerrolinkIds : PageId::ComIds);
}

// Switching the preinstaller off puts its options back to fixed values; switching it on again
// shows them as they are.
void OptionsPage::PreinstallerToggled(PageView& view) {
    if (view.IsChecked(kUsePreinstallerBox)) {
        ShowPreinstallerControls(view, true);
        return;
    }
    view.SetChecked(kDisplaySetupBox, true);
    view.SetChecked(kCopyFilesBox, true);
    view.SetText(kTargetDirectoryEdit, kResetTargetDirectory);
    ShowPreinstallerControls(view, false);
}

void OptionsPage::StoreOptions(PageView& view) {
    settings_.UsePreinstaller = view.IsChecked(kUsePreinstallerBox) ? 1 : 0;
    settings_.QuietSetup = view.IsChecked(kDisplaySetupBox) ? 0 : 1;
    settings_.SkipFileCopy = view.IsChecked(kCopyFilesBox) ? 0 : 1;
    settings_.TargetDirectory = view.GetText(kTargetDirectoryEdit);
    settings_.LeaveFiles = view.IsChecked(kLeaveFilesBox) ? 1 : 0;
    settings_.QuietUninstall = view.IsChecked(kDisplayUninstallBox) ? 0 : 1;
}

}  // namespace usbwiz
