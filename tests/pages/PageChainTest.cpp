#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "tests/pages/WizardTestHarness.h"

namespace usbwiz::testing {
namespace {

using P = PageId;

class PageChainTest : public WizardTest {};

TEST_F(PageChainTest, WelcomeStartsWithNoKindAndIgnoresNextUntilOneIsChosen) {
    const ScriptedPageRunner runner = RunWizard(
        {Click(kWelcomeNextButton), PressEnter(), Click(kComPortKindButton), PressEnter()});
    ASSERT_EQ(runner.VisitedPages(), (std::vector<P>{P::Welcome, P::Warning}));
    const PageVisit& welcome = runner.Visits()[0];
    EXPECT_FALSE(welcome.controlsAtOpen.at(kComPortKindButton).checked);
    EXPECT_FALSE(welcome.controlsAtOpen.at(kFerrolinkKindButton).checked);
    EXPECT_EQ(welcome.settingsAtOpen, WizardSettings{});
    EXPECT_TRUE(runner.Messages().empty());
    EXPECT_EQ(runner.Visits()[1].settingsAtOpen, Defaults(Package::ComPort));
}

struct Route {
    std::string name;
    friend std::ostream& operator<<(std::ostream& os, const Route& c) { return os << c.name; }
    std::vector<UserAction> script;
    std::vector<PageId> pages;
};

class PageOrderTest : public WizardTest, public ::testing::WithParamInterface<Route> {};

// Next goes down the column of the chosen kind and Back goes up it, one fresh page at a time.
TEST_P(PageOrderTest, VisitsThePagesOfTheKindInOrder) {
    const ScriptedPageRunner runner = RunWizard(GetParam().script);
    EXPECT_EQ(runner.VisitedPages(), GetParam().pages);
    EXPECT_TRUE(runner.Messages().empty());
    EXPECT_EQ(runner.UnusedActions(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PageOrderTest,
    ::testing::Values(
        Route{
            "ComPortForward",
            Then({Click(kComPortKindButton), Click(kWelcomeNextButton), Click(kWelcomeNextButton)},
                 Nexts(6)),
            {P::Welcome, P::Warning, P::ComNames, P::ComDeviceNames, P::ComIds, P::Options,
             P::Certification, P::OutputDirectory, P::Summary}},
        Route{"FerrolinkForward",
              Then({Click(kFerrolinkKindButton), Click(kWelcomeNextButton)}, Nexts(5)),
              {P::Welcome, P::FerrolinkNames, P::FerrolinkDeviceName, P::FerrolinkIds, P::Options,
               P::OutputDirectory, P::Summary}},
        Route{
            "ComPortBackward",
            Then(Then({Click(kComPortKindButton), Click(kWelcomeNextButton),
                       Click(kWelcomeNextButton)},
                      Nexts(6)),
                 std::vector<UserAction>(8, Click(kBackButton))),
            {P::Welcome, P::Warning, P::ComNames, P::ComDeviceNames, P::ComIds, P::Options,
             P::Certification, P::OutputDirectory, P::Summary, P::OutputDirectory, P::Certification,
             P::Options, P::ComIds, P::ComDeviceNames, P::ComNames, P::Warning, P::Welcome}},
        Route{"FerrolinkBackward",
              Then(Then({Click(kFerrolinkKindButton), Click(kWelcomeNextButton)}, Nexts(5)),
                   std::vector<UserAction>(6, Click(kBackButton))),
              {P::Welcome, P::FerrolinkNames, P::FerrolinkDeviceName, P::FerrolinkIds, P::Options,
               P::OutputDirectory, P::Summary, P::OutputDirectory, P::Options, P::FerrolinkIds,
               P::FerrolinkDeviceName, P::FerrolinkNames, P::Welcome}},
        // Enter presses the default button of every page.
        Route{"EnterIsNext",
              Then({Click(kComPortKindButton)}, std::vector<UserAction>(8, PressEnter())),
              {P::Welcome, P::Warning, P::ComNames, P::ComDeviceNames, P::ComIds, P::Options,
               P::Certification, P::OutputDirectory, P::Summary}}),
    [](const ::testing::TestParamInfo<Route>& info) { return info.param.name; });

TEST_F(PageChainTest, EnterOnTheSummaryPageIsFinish) {
    const ScriptedPageRunner runner =
        RunWizard(Then({Click(kComPortKindButton)}, std::vector<UserAction>(9, PressEnter())),
                  {MessageAnswer::Yes});
    EXPECT_EQ(runner.LastVisit().page, P::Summary);
    EXPECT_FALSE(runner.LastVisit().leftOpenByScript);
    ASSERT_FALSE(runner.Messages().empty());
    EXPECT_EQ(runner.Messages().back().text, "Files Successfully Generated");
}

struct CancelCase {
    std::string name;
    friend std::ostream& operator<<(std::ostream& os, const CancelCase& c) { return os << c.name; }
    std::vector<UserAction> toPage;
    PageId page;
};

class CancelTest : public WizardTest,
                   public ::testing::WithParamInterface<std::tuple<CancelCase, UserAction>> {};

// Cancel, Esc and the close box end the whole wizard from any page, and nothing is written.
TEST_P(CancelTest, EndsTheWizardAndWritesNothing) {
    const auto& [c, cancel] = GetParam();
    const ScriptedPageRunner runner = RunWizard(Then(c.toPage, {cancel}), {MessageAnswer::Yes});
    ASSERT_EQ(runner.LastVisit().page, c.page);
    EXPECT_FALSE(runner.LastVisit().leftOpenByScript);
    EXPECT_FALSE(runner.LastVisit().next.has_value());
    EXPECT_EQ(runner.UnusedActions(), 0u);
    EXPECT_TRUE(platform.writeAttempts.empty());
    EXPECT_TRUE(platform.messages.empty());
}

std::vector<CancelCase> CancelPages() {
    std::vector<CancelCase> cases{
        {"Welcome", {}, P::Welcome},
        {"WelcomeWithKind", {Click(kFerrolinkKindButton)}, P::Welcome},
        {"Warning", {Click(kComPortKindButton), Click(kWelcomeNextButton)}, P::Warning},
    };
    const std::vector<PageId> com{P::ComNames,      P::ComDeviceNames,  P::ComIds, P::Options,
                                  P::Certification, P::OutputDirectory, P::Summary};
    const std::vector<PageId> ferrolink{P::FerrolinkNames, P::FerrolinkDeviceName, P::FerrolinkIds,
                                        P::Options,        P::OutputDirectory,     P::Summary};
    for (std::size_t i = 0; i < com.size(); ++i)
        cases.push_back({"Com" + std::to_string(static_cast<int>(com[i])),
                         Then(ToComNames(), Nexts(static_cast<int>(i))), com[i]});
    for (std::size_t i = 0; i < ferrolink.size(); ++i)
        cases.push_back({"Ferrolink" + std::to_string(static_cast<int>(ferrolink[i])),
                         Then(ToFerrolinkNames(), Nexts(static_cast<int>(i))), ferrolink[i]});
    return cases;
}

using CancelParam = std::tuple<CancelCase, UserAction>;

std::string CancelName(const ::testing::TestParamInfo<CancelParam>& info) {
    static const char* const kWays[] = {"Type", "Clear", "Cancel", "Enter", "Esc", "Close"};
    return std::get<0>(info.param).name + "_" +
           kWays[static_cast<int>(std::get<1>(info.param).kind)];
}

INSTANTIATE_TEST_SUITE_P(EveryPage, CancelTest,
                         ::testing::Combine(::testing::ValuesIn(CancelPages()),
                                            ::testing::Values(Click(kCancelButton), PressEscape(),
                                                              CloseBox())),
                         CancelName);

struct KindChoice {
    std::string name;
    friend std::ostream& operator<<(std::ostream& os, const KindChoice& c) { return os << c.name; }
    std::vector<UserAction> script;
    Package kind;
    std::string uninstallName;  // as the names page then shows it
    bool allDefaults;           // every field has the kind's default
};

class KindChoiceTest : public WizardTest, public ::testing::WithParamInterface<KindChoice> {};

// Choosing the other kind resets the whole record to its defaults; choosing the shown kind again
// keeps what was typed.
TEST_P(KindChoiceTest, NamesPageShowsTheRecordOfTheChosenKind) {
    const ScriptedPageRunner runner = RunWizard(GetParam().script);
    const PageVisit& names = runner.LastVisit();
    ASSERT_TRUE(names.page == P::ComNames || names.page == P::FerrolinkNames);
    EXPECT_EQ(names.settingsAtOpen.PackageKind, GetParam().kind);
    EXPECT_EQ(TextAtOpen(names, kUninstallNameEdit), GetParam().uninstallName);
    if (GetParam().allDefaults) {
        EXPECT_EQ(names.settingsAtOpen, Defaults(GetParam().kind));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Choices, KindChoiceTest,
    ::testing::Values(KindChoice{"ReclickKeepsTyping",
                                 Then(Then(ToComNames(), Retype(kUninstallNameEdit, "mine")),
                                      {Click(kBackButton), Click(kBackButton),
                                       Click(kComPortKindButton), Click(kWelcomeNextButton),
                                       Click(kWelcomeNextButton)}),
                                 Package::ComPort, "mine", false},
                      KindChoice{"OtherKindResets",
                                 Then(Then(ToComNames(), Retype(kUninstallNameEdit, "mine")),
                                      {Click(kBackButton), Click(kBackButton),
                                       Click(kFerrolinkKindButton), Click(kWelcomeNextButton)}),
                                 Package::Ferrolink, "tnflunin", true},
                      KindChoice{"SwitchingThereAndBackResets",
                                 Then(Then(ToFerrolinkNames(), Retype(kUninstallNameEdit, "mine")),
                                      {Click(kBackButton), Click(kComPortKindButton),
                                       Click(kFerrolinkKindButton), Click(kWelcomeNextButton)}),
                                 Package::Ferrolink, "tnflunin", true},
                      KindChoice{"BackFromFerrolinkNamesKeepsTyping",
                                 Then(Then(ToFerrolinkNames(), Retype(kUninstallNameEdit, "mine")),
                                      {Click(kBackButton), Click(kWelcomeNextButton)}),
                                 Package::Ferrolink, "mine", false}),
    [](const ::testing::TestParamInfo<KindChoice>& info) { return info.param.name; });

TEST_F(PageChainTest, WelcomeShowsTheKindOfTheRecordItComesBackWith) {
    for (const auto& [script, selected, other] :
         {std::tuple{Then(ToComNames(), {Click(kBackButton), Click(kBackButton)}),
                     kComPortKindButton, kFerrolinkKindButton},
          std::tuple{Then(ToFerrolinkNames(), {Click(kBackButton)}), kFerrolinkKindButton,
                     kComPortKindButton}}) {
        const ScriptedPageRunner runner = RunWizard(script);
        const PageVisit& welcome = runner.LastVisit();
        ASSERT_EQ(welcome.page, P::Welcome);
        EXPECT_TRUE(welcome.controlsAtOpen.at(selected).checked);
        EXPECT_FALSE(welcome.controlsAtOpen.at(other).checked);
    }
}

// Everything typed on the way forward comes back on the way back, page by page, and the summary
// page shows it.
TEST_F(PageChainTest, TypedValuesTravelForwardAndBack) {
    const std::vector<UserAction> forward =
        Then(Then(Then(ToComNames(), Retype(kUninstallNameEdit, "myunin")),
                  Then(Retype(kInfPrefixEdit, "mypf"), Retype(kShortNameEdit, "shorty"))),
             Then(Then({Click(kNextButton)}, Retype(kComDeviceNameEdit, "My COM")),
                  Then(Then({Click(kNextButton)}, Retype(kPidEdit, "beef")),
                       Then({Click(kNextButton), Click(kDisplaySetupBox)},
                            Then(Retype(kTargetDirectoryEdit, "D:\\Target"),
                                 {Click(kNextButton), Click(kNextButton), Click(kNextButton)})))));
    const std::vector<UserAction> back(7, Click(kBackButton));
    const ScriptedPageRunner runner = RunWizard(Then(forward, back));

    ASSERT_EQ(runner.VisitedPages(),
              (std::vector<P>{P::Welcome, P::Warning, P::ComNames, P::ComDeviceNames, P::ComIds,
                              P::Options, P::Certification, P::OutputDirectory, P::Summary,
                              P::OutputDirectory, P::Certification, P::Options, P::ComIds,
                              P::ComDeviceNames, P::ComNames, P::Warning}));
    WizardSettings expected = Defaults(Package::ComPort);
    expected.UninstallName = "myunin";
    expected.InfPrefix = "mypf";
    expected.ShortName = "shorty";
    expected.ComDeviceName = "My COM";
    expected.Pid = "BEEF";
    expected.QuietSetup = 1;
    expected.TargetDirectory = "D:\\Target";
    expected.GenerationDirectory += '\\';

    const PageVisit& summary = runner.Visits()[8];
    EXPECT_EQ(summary.settingsAtOpen, expected);
    for (std::size_t i = 9; i < runner.Visits().size(); ++i)
        EXPECT_EQ(runner.Visits()[i].settingsAtOpen, expected) << "visit " << i;

    const PageVisit& names = runner.Visits()[14];
    EXPECT_EQ(TextAtOpen(names, kUninstallNameEdit), "myunin");
    EXPECT_EQ(TextAtOpen(names, kInfPrefixEdit), "mypf");
    EXPECT_EQ(TextAtOpen(names, kShortNameEdit), "shorty");
    EXPECT_EQ(TextAtOpen(runner.Visits()[12], kPidEdit), "BEEF");
    EXPECT_FALSE(runner.Visits()[11].controlsAtOpen.at(kDisplaySetupBox).checked);
    EXPECT_EQ(TextAtOpen(runner.Visits()[11], kTargetDirectoryEdit), "D:\\Target");
}

// Only the virtual COM port package asks for certification; passing its page with the answer it
// opens with leaves both flags at 0, as they always were.
TEST_F(PageChainTest, OnlyTheComPortChainAsksForCertification) {
    for (Package kind : {Package::ComPort, Package::Ferrolink}) {
        const ScriptedPageRunner runner =
            RunWizard(Then(Then(ToOptions(kind), PastOptions(kind)), Nexts(1)));
        ASSERT_EQ(runner.LastVisit().page, P::Summary);
        const auto visits = runner.VisitedPages();
        EXPECT_EQ(std::count(visits.begin(), visits.end(), P::Certification),
                  kind == Package::ComPort ? 1 : 0);
        EXPECT_EQ(runner.LastVisit().settingsAtOpen.CertificationChoice, 0);
        EXPECT_EQ(runner.LastVisit().settingsAtOpen.DefaultCatalogFiles, 0);
    }
}

}  // namespace
}  // namespace usbwiz::testing
