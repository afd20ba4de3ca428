#include <gtest/gtest.h>

#include "generate/PackageContents.h"
#include "generate/SummaryText.h"
#include "tests/pages/WizardTestHarness.h"

namespace usbwiz::testing {
namespace {

using P = PageId;

const ShownMessage kSucceeded{P::Summary, "Files Successfully Generated", MessageIcon::None,
                              MessageButtons::Ok};
const ShownMessage kFailed{P::Summary, "Error: Could Not Generate All Files.", MessageIcon::Error,
                           MessageButtons::Ok};

// Where the record's package files go, in the order they are written.
std::vector<std::string> PackagePaths(const WizardSettings& settings) {
    return BuildPackageContents(settings, EmbeddedPayloads()).FilePaths();
}

class SummaryPageTest : public WizardTest, public ::testing::WithParamInterface<Package> {
  protected:
    WizardSettings Ready() {
        WizardSettings settings = Defaults(GetParam());
        settings.GenerationDirectory = "C:\\Out\\";
        return settings;
    }
};

TEST_P(SummaryPageTest, ShowsTheLabelsAndValuesOfTheKind) {
    const WizardSettings settings = Ready();
    const ScriptedPageRunner runner = RunPage(P::Summary, settings, {});
    const PageVisit& visit = runner.LastVisit();
    EXPECT_EQ(TextAtOpen(visit, kSummaryLabels), SummaryLabelText(GetParam()));
    EXPECT_EQ(TextAtOpen(visit, kSummaryValues), BuildSummaryText(settings));
    EXPECT_NE(TextAtOpen(visit, kSummaryValues).find("C:\\Out\\"), std::string::npos);
    EXPECT_TRUE(platform.writeAttempts.empty());
}

// Finish writes the whole plan of the kind into the directory and ends the wizard.
TEST_P(SummaryPageTest, FinishThatSucceedsEndsTheWizard) {
    const WizardSettings settings = Ready();
    const ScriptedPageRunner runner = RunPage(P::Summary, settings, {Click(kNextButton)});
    EXPECT_EQ(runner.Messages(), std::vector<ShownMessage>{kSucceeded});
    EXPECT_FALSE(runner.LastVisit().leftOpenByScript);
    EXPECT_FALSE(runner.LastVisit().next.has_value());
    EXPECT_EQ(platform.WrittenPaths(), PackagePaths(settings));
    EXPECT_TRUE(platform.messages.empty());
}

// A failed Finish leaves the page open; the record keeps what generation did to it, so Back
// carries an upper-cased ShortName (the first file of a virtual COM port package upper-cases
// it) to the pages before.
TEST_P(SummaryPageTest, FinishThatFailsKeepsThePageOpen) {
    const WizardSettings settings = Ready();
    const std::vector<std::string> planned = PackagePaths(settings);
    platform.failingWrites.insert(planned.back());

    const ScriptedPageRunner runner =
        RunPage(P::Summary, settings, {Click(kNextButton), Click(kBackButton)});
    EXPECT_EQ(runner.Messages(), std::vector<ShownMessage>{kFailed});
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Error: Could Not Open File For Write.");
    const PageVisit& visit = runner.LastVisit();
    EXPECT_EQ(visit.next, P::OutputDirectory);
    EXPECT_EQ(visit.settingsAtEnd.ShortName,
              GetParam() == Package::ComPort ? "TARN" : settings.ShortName);
    EXPECT_EQ(TextAtEnd(visit, kSummaryValues), TextAtOpen(visit, kSummaryValues));
}

TEST_P(SummaryPageTest, FinishCanBePressedAgainAfterAFailure) {
    const WizardSettings settings = Ready();
    const std::vector<std::string> planned = PackagePaths(settings);
    platform.failingWrites.insert(planned.front());

    ScriptedPageRunner runner(std::vector<UserAction>{Click(kNextButton)});
    const std::unique_ptr<Page> page = CreatePage(P::Summary, settings, services);
    runner.Run(*page);
    ASSERT_TRUE(runner.LastVisit().leftOpenByScript);
    EXPECT_EQ(platform.WrittenPaths(), std::vector<std::string>{});

    // The same record, once the directory can be written again.
    platform.failingWrites.clear();
    ScriptedPageRunner retry(std::vector<UserAction>{Click(kNextButton)});
    const std::unique_ptr<Page> again = CreatePage(P::Summary, page->Settings(), services);
    retry.Run(*again);
    EXPECT_EQ(retry.Messages(), std::vector<ShownMessage>{kSucceeded});
    EXPECT_EQ(platform.WrittenPaths(), PackagePaths(page->Settings()));
}

TEST_P(SummaryPageTest, BackChangesNothing) {
    const WizardSettings settings = Ready();
    const ScriptedPageRunner runner = RunPage(P::Summary, settings, {Click(kBackButton)});
    EXPECT_EQ(runner.LastVisit().next, P::OutputDirectory);
    EXPECT_EQ(runner.LastVisit().settingsAtEnd, settings);
    EXPECT_TRUE(runner.Messages().empty());
    EXPECT_TRUE(platform.writeAttempts.empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, SummaryPageTest,
                         ::testing::Values(Package::ComPort, Package::Ferrolink),
                         [](const ::testing::TestParamInfo<Package>& info) {
                             return info.param == Package::ComPort ? "ComPort" : "Ferrolink";
                         });

TEST_F(WizardTest, SummaryOfARecordWithoutKindShowsNothingAndFinishDoesNothing) {
    WizardSettings settings = Defaults(Package::ComPort);
    settings.PackageKind = Package::None;
    const ScriptedPageRunner runner = RunPage(P::Summary, settings, {Click(kNextButton)});
    const PageVisit& visit = runner.LastVisit();
    EXPECT_EQ(TextAtOpen(visit, kSummaryLabels), SummaryLabelText(Package::ComPort));
    EXPECT_EQ(TextAtOpen(visit, kSummaryValues), "");
    EXPECT_TRUE(visit.leftOpenByScript);
    EXPECT_TRUE(runner.Messages().empty());
    EXPECT_TRUE(platform.writeAttempts.empty());
}

// The failed Finish of a whole run: Back brings the upper-cased ShortName to the names page.
TEST_F(WizardTest, UpperCasedShortNameTravelsBackAfterAFailedFinish) {
    platform.failingWrites.insert("C:\\Vexmor\\MCU\\CustomKR550xDriverInstall\\tarnw2k.inf");
    const ScriptedPageRunner runner =
        RunWizard(Then(ToOptions(Package::ComPort),
                       Then(Nexts(3), std::vector<UserAction>(5, Click(kBackButton)))));
    const PageVisit& names = runner.LastVisit();
    ASSERT_EQ(names.page, P::ComNames);
    EXPECT_EQ(TextAtOpen(names, kShortNameEdit), "TARN");
    ASSERT_FALSE(runner.Messages().empty());
    EXPECT_EQ(runner.Messages().back(), kFailed);
}

}  // namespace
}  // namespace usbwiz::testing
