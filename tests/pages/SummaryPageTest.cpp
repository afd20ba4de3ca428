#include <gtest/gtest.h>

#include <ctime>

#include "generate/PackageContents.h"
#include "generate/SummaryText.h"
#include "tests/pages/WizardTestHarness.h"
#include "tests/support/TempDirectory.h"

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

const std::vector<std::string> kNone;

std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const std::vector<std::string>& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
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
                       Then(Nexts(4), std::vector<UserAction>(6, Click(kBackButton)))));
    const PageVisit& names = runner.LastVisit();
    ASSERT_EQ(names.page, P::ComNames);
    EXPECT_EQ(TextAtOpen(names, kShortNameEdit), "TARN");
    ASSERT_FALSE(runner.Messages().empty());
    EXPECT_EQ(runner.Messages().back(), kFailed);
}

struct CatalogFinish {
    std::string name;
    friend std::ostream& operator<<(std::ostream& os, const CatalogFinish& c) {
        return os << c.name;
    }
    CatalogSource source;
    bool defaultCatalogs = false;
    std::optional<std::string> sourceDateEpoch = "1767225600";
    std::string failingWrite = {};
    ShownMessage message = kSucceeded;
};

class CatalogFinishTest : public WizardTest, public ::testing::WithParamInterface<CatalogFinish> {};

const std::string kCertificate = "C:\\Certs\\tarn-driver-test.cer";
const std::vector<std::string> kCatalogs{"C:\\Out\\tarnbus.cat", "C:\\Out\\tarnser.cat"};

// Finish writes the catalogs "Yes" chose after the package's files, the test certificate before
// everything (no catalog is ever left signed by a certificate that was not kept); a catalog that
// cannot be written fails as any file does, and a SOURCE_DATE_EPOCH that is no time is refused.
// A failure leaves nothing of the run.
TEST_P(CatalogFinishTest, WritesThePackageWithTheChosenCatalogs) {
    const CatalogFinish& c = GetParam();
    WizardSettings settings = Defaults(Package::ComPort);
    settings.GenerationDirectory = "C:\\Out\\";
    settings.CertificationChoice = true;
    settings.DefaultCatalogFiles = c.defaultCatalogs;
    CatalogChoice& choice = services.catalogs;
    choice.source = c.source;
    services.sourceDateEpoch = c.sourceDateEpoch;
    platform.failingWrites.insert(c.failingWrite);
    const TempDirectory checked;  // the folder the page's Next checked
    if (c.source == CatalogSource::TestCertificate) {
        SigningRequest request;
        request.source = SigningSource::TestCertificate;
        request.testCertificateFolder = checked.Path();
        request.now = static_cast<std::int64_t>(std::time(nullptr));
        choice.testCertificateFolder = "C:\\Certs";
        choice.signing = PrepareSigning(request);
    }

    const ScriptedPageRunner runner = RunPage(P::Summary, settings, {Click(kNextButton)});
    EXPECT_EQ(runner.Messages(), std::vector<ShownMessage>{c.message});
    const bool writes = c.message == kSucceeded;
    const bool catalogs = !c.defaultCatalogs && c.source != CatalogSource::None;
    const bool certificate = c.source == CatalogSource::TestCertificate;
    EXPECT_EQ(platform.WrittenPaths(),
              writes ? Joined({certificate ? std::vector{kCertificate} : std::vector<std::string>{},
                               PackagePaths(settings), catalogs ? kCatalogs : kNone})
                     : kNone);
    if (certificate) {
        EXPECT_EQ(platform.files.at(kCertificate), choice.signing.testCertificate);
    }
    EXPECT_TRUE(platform.staged.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Choices, CatalogFinishTest,
    ::testing::Values(CatalogFinish{"NoneYet", CatalogSource::None},
                      CatalogFinish{"DefaultOnes", CatalogSource::Unsigned, true},
                      CatalogFinish{"Unsigned", CatalogSource::Unsigned},
                      CatalogFinish{"TestCertificate", CatalogSource::TestCertificate},
                      CatalogFinish{"CatalogCannotBeWritten",
                                    CatalogSource::Unsigned,
                                    false,
                                    {},
                                    kCatalogs.back(),
                                    kFailed},
                      CatalogFinish{
                          "NoTime",
                          CatalogSource::Unsigned,
                          false,
                          "soon",
                          {},
                          ShownMessage{
                              P::Summary,
                              "SOURCE_DATE_EPOCH: expected seconds from 1970 to 2049, not 'soon'",
                              MessageIcon::Warning, MessageButtons::Ok}}),
    [](const ::testing::TestParamInfo<CatalogFinish>& info) { return info.param.name; });

}  // namespace
}  // namespace usbwiz::testing
