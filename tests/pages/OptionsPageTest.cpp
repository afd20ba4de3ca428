#include <gtest/gtest.h>

#include <ostream>

#include "settings/InputRules.h"
#include "tests/pages/WizardTestHarness.h"

namespace usbwiz::testing {
namespace {

using P = PageId;

constexpr int kPreinstallerControls[] = {
    kDisplaySetupBox, kCopyFilesBox,        kTargetDirectoryEdit,  kDisplaySetupHelp,
    kCopyFilesHelp,   kTargetDirectoryHelp, kTargetDirectoryLabel, kTargetDirectoryNote};
constexpr std::string_view kResetTarget = "C:\\Program Files\\Vexmor\\MCU\\KR550x";

class OptionsPageTest : public WizardTest, public ::testing::WithParamInterface<Package> {};

bool AllPreinstallerControlsVisible(const std::map<int, ControlState>& controls, bool visible) {
    for (int id : kPreinstallerControls)
        if (controls.at(id).visible != visible) return false;
    return true;
}

TEST_P(OptionsPageTest, OpensWithTheKindsDefaultsAndPasses) {
    const Package kind = GetParam();
    const ScriptedPageRunner runner = RunWizard(Then(ToOptions(kind), Nexts(1)));
    const PageVisit& options = runner.Visits()[runner.Visits().size() - 2];
    ASSERT_EQ(options.page, P::Options);
    for (int box : {kUsePreinstallerBox, kDisplaySetupBox, kCopyFilesBox, kDisplayUninstallBox})
        EXPECT_TRUE(options.controlsAtOpen.at(box).checked) << box;
    EXPECT_FALSE(options.controlsAtOpen.at(kLeaveFilesBox).checked);
    EXPECT_FALSE(options.controlsAtOpen.at(kLeaveFilesBox).visible);
    EXPECT_FALSE(options.controlsAtOpen.at(kLeaveFilesHelp).visible);
    EXPECT_TRUE(AllPreinstallerControlsVisible(options.controlsAtOpen, true));
    EXPECT_EQ(TextAtOpen(options, kTargetDirectoryEdit), Defaults(kind).TargetDirectory);
    EXPECT_EQ(runner.LastVisit().page, AfterOptions(kind));
    EXPECT_TRUE(runner.Messages().empty());
}

// Clearing "Generate a Preinstaller program" hides its options and resets them to fixed values,
// the virtual COM port target directory even for a Ferrolink package.
TEST_P(OptionsPageTest, ClearingThePreinstallerHidesAndResetsItsOptions) {
    const Package kind = GetParam();
    const ScriptedPageRunner runner =
        RunWizard(Then(Then(ToOptions(kind), {Click(kDisplaySetupBox), Click(kCopyFilesBox)}),
                       Then(Retype(kTargetDirectoryEdit, "D:\\Typed"),
                            {Click(kUsePreinstallerBox), Click(kNextButton)})));
    const PageVisit& options = runner.Visits()[runner.Visits().size() - 2];
    ASSERT_EQ(options.page, P::Options);
    EXPECT_TRUE(AllPreinstallerControlsVisible(options.controlsAtEnd, false));
    EXPECT_TRUE(options.controlsAtEnd.at(kDisplaySetupBox).checked);
    EXPECT_TRUE(options.controlsAtEnd.at(kCopyFilesBox).checked);
    EXPECT_TRUE(options.controlsAtEnd.at(kDisplayUninstallBox).visible);

    const WizardSettings& stored = runner.LastVisit().settingsAtOpen;
    EXPECT_EQ(stored.UsePreinstaller, 0);
    EXPECT_EQ(stored.QuietSetup, 0);
    EXPECT_EQ(stored.SkipFileCopy, 0);
    EXPECT_EQ(stored.TargetDirectory, kResetTarget);
}

// Checking it again shows the options with the reset values, not what was typed before.
TEST_P(OptionsPageTest, CheckingThePreinstallerAgainShowsTheResetPath) {
    const ScriptedPageRunner runner = RunWizard(
        Then(Then(ToOptions(GetParam()), Retype(kTargetDirectoryEdit, "D:\\Typed")),
             {Click(kDisplaySetupBox), Click(kUsePreinstallerBox), Click(kUsePreinstallerBox)}));
    const PageVisit& options = runner.LastVisit();
    ASSERT_EQ(options.page, P::Options);
    EXPECT_TRUE(AllPreinstallerControlsVisible(options.controlsAtEnd, true));
    EXPECT_EQ(TextAtEnd(options, kTargetDirectoryEdit), kResetTarget);
    EXPECT_TRUE(options.controlsAtEnd.at(kDisplaySetupBox).checked);
}

// Back from the next page with the preinstaller off: its options stay hidden.
TEST_P(OptionsPageTest, ReopenedWithoutPreinstallerHidesItsOptions) {
    const ScriptedPageRunner runner =
        RunWizard(Then(ToOptions(GetParam()),
                       {Click(kUsePreinstallerBox), Click(kNextButton), Click(kBackButton)}));
    const PageVisit& options = runner.LastVisit();
    ASSERT_EQ(options.page, P::Options);
    EXPECT_FALSE(options.controlsAtOpen.at(kUsePreinstallerBox).checked);
    EXPECT_TRUE(AllPreinstallerControlsVisible(options.controlsAtOpen, false));
    EXPECT_EQ(TextAtOpen(options, kTargetDirectoryEdit), kResetTarget);
}

TEST_P(OptionsPageTest, BackGoesToTheIdsPageOfTheKind) {
    const Package kind = GetParam();
    const ScriptedPageRunner runner = RunWizard(Then(ToOptions(kind), {Click(kBackButton)}));
    EXPECT_EQ(runner.LastVisit().page, kind == Package::ComPort ? P::ComIds : P::FerrolinkIds);
}

INSTANTIATE_TEST_SUITE_P(Kinds, OptionsPageTest,
                         ::testing::Values(Package::ComPort, Package::Ferrolink),
                         [](const ::testing::TestParamInfo<Package>& info) {
                             return info.param == Package::ComPort ? "ComPort" : "Ferrolink";
                         });

struct OptionChange {
    std::string name;
    friend std::ostream& operator<<(std::ostream& os, const OptionChange& c) {
        return os << c.name;
    }
    std::vector<UserAction> actions;
    bool WizardSettings::*flag;
    std::int32_t value;
};

class OptionFlagTest : public WizardTest, public ::testing::WithParamInterface<OptionChange> {};

// The inverse check boxes store 1 when cleared; Next and Back store the same.
TEST_P(OptionFlagTest, NextAndBackStoreTheFlag) {
    const OptionChange& c = GetParam();
    for (int leave : {kNextButton, kBackButton}) {
        const ScriptedPageRunner runner =
            RunWizard(Then(Then(ToOptions(Package::ComPort), c.actions), {Click(leave)}));
        ASSERT_EQ(runner.Visits()[runner.Visits().size() - 2].page, P::Options);
        EXPECT_EQ(runner.LastVisit().settingsAtOpen.*c.flag, c.value) << leave;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, OptionFlagTest,
    ::testing::Values(
        OptionChange{
            "DisplaySetupCleared", {Click(kDisplaySetupBox)}, &WizardSettings::QuietSetup, 1},
        OptionChange{"CopyFilesCleared", {Click(kCopyFilesBox)}, &WizardSettings::SkipFileCopy, 1},
        OptionChange{"DisplayUninstallCleared",
                     {Click(kDisplayUninstallBox)},
                     &WizardSettings::QuietUninstall,
                     1},
        OptionChange{"PreinstallerCleared",
                     {Click(kUsePreinstallerBox)},
                     &WizardSettings::UsePreinstaller,
                     0},
        OptionChange{"DisplaySetupClearedTwice",
                     {Click(kDisplaySetupBox), Click(kDisplaySetupBox)},
                     &WizardSettings::QuietSetup,
                     0}),
    [](const ::testing::TestParamInfo<OptionChange>& info) { return info.param.name; });

struct TargetText {
    std::string name;
    friend std::ostream& operator<<(std::ostream& os, const TargetText& c) { return os << c.name; }
    std::string text;
    bool accepted;
};

class TargetDirectoryTest : public WizardTest, public ::testing::WithParamInterface<TargetText> {};

// Next refuses a path text with the directory message and keeps it in the edit; Back stores it
// unchecked. An accepted text is stored exactly as typed, spaces included.
TEST_P(TargetDirectoryTest, NextChecksBackDoesNot) {
    const TargetText& c = GetParam();
    const ScriptedPageRunner next = RunWizard(
        Then(Then(ToOptions(Package::ComPort), Retype(kTargetDirectoryEdit, c.text)), Nexts(1)));
    if (c.accepted) {
        EXPECT_TRUE(next.Messages().empty());
        ASSERT_EQ(next.LastVisit().page, P::Certification);
        EXPECT_EQ(next.LastVisit().settingsAtOpen.TargetDirectory, c.text);
    } else {
        ASSERT_EQ(next.Messages().size(), 1u);
        EXPECT_EQ(next.Messages()[0],
                  (ShownMessage{P::Options, std::string(kInvalidDirectoryMessage),
                                MessageIcon::None, MessageButtons::Ok}));
        ASSERT_EQ(next.LastVisit().page, P::Options);
        EXPECT_EQ(TextAtEnd(next.LastVisit(), kTargetDirectoryEdit), c.text);
        EXPECT_EQ(next.LastVisit().focusAtEnd, kTargetDirectoryEdit);
    }

    const ScriptedPageRunner back =
        RunWizard(Then(Then(ToOptions(Package::ComPort), Retype(kTargetDirectoryEdit, c.text)),
                       {Click(kBackButton)}));
    EXPECT_TRUE(back.Messages().empty());
    EXPECT_EQ(back.LastVisit().settingsAtOpen.TargetDirectory, c.text);
}

INSTANTIATE_TEST_SUITE_P(Texts, TargetDirectoryTest,
                         ::testing::Values(TargetText{"Plain", "C:\\Program Files\\Vexmor", true},
                                           TargetText{"LeadingSpaces", "  C:\\Lead", true},
                                           TargetText{"ColonBackslashInside", "C:\\a:\\b", true},
                                           TargetText{"Asterisk", "C:\\a*b", false},
                                           TargetText{"TrailingColon", "C:\\dir:", false},
                                           TargetText{"ColonWithoutBackslash", "C:Temp", false},
                                           TargetText{"OnlySpaces", "   ", false},
                                           TargetText{"Empty", "", false}),
                         [](const ::testing::TestParamInfo<TargetText>& info) {
                             return info.param.name;
                         });

// LeaveFiles has no visible box: it leaves the page as it came.
TEST_F(WizardTest, LeaveFilesPassesThroughUnchanged) {
    for (std::int32_t leaveFiles : {0, 1}) {
        WizardSettings settings = Defaults(Package::Ferrolink);
        settings.LeaveFiles = leaveFiles;
        const ScriptedPageRunner runner = RunPage(P::Options, settings, {Click(kNextButton)});
        EXPECT_EQ(runner.LastVisit().next, P::OutputDirectory);
        EXPECT_EQ(runner.LastVisit().settingsAtEnd, settings);
    }
}

TEST_F(WizardTest, HelpButtonsExplainTheirOptionAndChangeNothing) {
    const std::pair<int, std::string_view> buttons[] = {
        {kUsePreinstallerHelp,
         "Generate a Preinstaller program:\n"
         "\n"
         "Select this option to generate a Preinstaller. Use the Preinstaller to install the "
         "drivers\n"
         "before the hardware is connected. Once connected, Windows 98SE & 2000 will recognize "
         "the\n"
         "device and the \"Add New Hardware Wizard\" should not be needed. When using Windows XP\n"
         "and uncertified driver files, the \"Add New Hardware Wizard\" and warning messages will\n"
         "appear but the path to the driver files will not be requested. Once the driver files "
         "have been\n"
         "certified for Windows XP, the \"Add New Hardware Wizard\" should no longer appear."},
        {kDisplaySetupHelp,
         "Display GUI window during Setup:\n"
         "\n"
         "Check this option when using the generated Preinstaller as a stand-alone application.\n"
         "The Preinstaller will display several GUI windows during the installation process. "
         "Uncheck\n"
         "this option if the Preinstaller will be launched by another application. The "
         "Preinstaller\n"
         "will then run in Quiet Mode. When running in Quiet Mode, no GUI will be displayed."},
        {kCopyFilesHelp,
         "Copy Files to Directory during Setup:\n"
         "\n"
         "Check this option if a copy of the drivers will be needed on the hard drive. This is "
         "useful\n"
         "when installing the drivers from a CD. Uncheck this option if copies of the driver files "
         "are not\n"
         "needed on the hard drive. This option is valid only when using Windows 2000/XP."},
        {kTargetDirectoryHelp,
         "Target Directory:\n"
         "\n"
         "Selects the hard drive location that will contain a copy of the driver files. The "
         "default\n"
         "location is C:\\Program Files\\Vexmor\\MCU\\KR550x. If the \"Display GUI window during\n"
         "Setup\" option is selected, this path can be changed during installation by clicking the "
         "Browse button.\n"
         "However, if the \"Display GUI  window during Setup\" option is not selected then the\n"
         "default directory is always used. This option is ignored if the \"Copy Files to "
         "Directory\n"
         "during Setup\" option is not selected. This option is valid only when using Windows "
         "2000/XP.\n"
         "\n"
         "Note: The Target Directory must be different for each product released."},
        {kDisplayUninstallHelp,
         "Display GUI window during Uninstall:\n"
         "\n"
         "Check this option when using the generated Uninstaller as a stand-alone application. "
         "The\n"
         "Uninstaller will display several GUI windows during the uninstall process. Uncheck this "
         "option\n"
         "if the Uninstaller will be launched by another application. The Uninstaller will then "
         "run in\n"
         "Quiet Mode. When running in Quiet Mode, no GUI will be displayed."}};
    std::vector<UserAction> clicks;
    std::vector<ShownMessage> expected;
    for (const auto& [id, text] : buttons) {
        clicks.push_back(Click(id));
        expected.push_back({P::Options, std::string(text), MessageIcon::None, MessageButtons::Ok});
        // Each text is a title line, an empty line and the explanation.
        const std::size_t firstBreak = text.find('\n');
        ASSERT_NE(firstBreak, std::string_view::npos);
        EXPECT_EQ(text.substr(firstBreak, 2), "\n\n");
        EXPECT_EQ(text.substr(firstBreak - 1, 1), ":");
    }
    const WizardSettings settings = Defaults(Package::ComPort);
    const ScriptedPageRunner runner = RunPage(P::Options, settings, clicks);
    EXPECT_EQ(runner.Messages(), expected);
    EXPECT_EQ(runner.LastVisit().settingsAtEnd, settings);
    EXPECT_EQ(runner.LastVisit().controlsAtEnd, runner.LastVisit().controlsAtOpen);
}

}  // namespace
}  // namespace usbwiz::testing
