#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <ostream>
#include <set>

#include "tests/pages/WizardTestHarness.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDirectory.h"

namespace usbwiz::testing {
namespace {

using P = PageId;

// Line `index` of a column whose lines end at `separator`.
std::string Line(std::string_view text, std::string_view separator, std::size_t index) {
    for (; index > 0; --index) text.remove_prefix(text.find(separator) + separator.size());
    return std::string(text.substr(0, text.find(separator)));
}

struct Answer {
    std::string name;
    friend std::ostream& operator<<(std::ostream& os, const Answer& c) { return os << c.name; }
    std::vector<UserAction> clicks;
    std::int32_t certification;
    std::int32_t defaultCatalogs;
};

class CertificationPageTest : public WizardTest, public ::testing::WithParamInterface<Answer> {};

// Next and Back both store the selected answer; none selected keeps what the record had. The
// default catalog files change nothing else, not even names that differ from the defaults.
TEST_P(CertificationPageTest, NextAndBackStoreTheSelectedAnswer) {
    const Answer& c = GetParam();
    WizardSettings settings = Defaults(Package::ComPort);
    settings.CertificationChoice = 1;
    settings.DefaultCatalogFiles = 1;
    settings.Vid = "1234";
    settings.UninstallName = "mine";

    for (const auto& [button, target] : {std::pair{kNextButton, PageId::OutputDirectory},
                                         std::pair{kBackButton, PageId::Options}}) {
        const ScriptedPageRunner runner =
            RunPage(PageId::Certification, settings, Then(c.clicks, {Click(button)}));
        const PageVisit& visit = runner.LastVisit();
        EXPECT_EQ(visit.next, target);
        WizardSettings expected = settings;
        expected.CertificationChoice = c.certification;
        expected.DefaultCatalogFiles = c.defaultCatalogs;
        EXPECT_EQ(visit.settingsAtEnd, expected) << button;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CertificationPageTest,
    ::testing::Values(Answer{"PlanCertification", {Click(kPlanCertificationButton)}, 1, 0},
                      Answer{"DefaultCatalogs", {Click(kDefaultCatalogsButton)}, 1, 1},
                      Answer{"NoCertification", {Click(kNoCertificationButton)}, 0, 0},
                      Answer{"ChangedMind",
                             {Click(kNoCertificationButton), Click(kPlanCertificationButton)},
                             1,
                             0},
                      Answer{"NoneSelected", {}, 1, 1}),
    [](const ::testing::TestParamInfo<Answer>& info) { return info.param.name; });

struct Enabling {
    std::string name;
    friend std::ostream& operator<<(std::ostream& os, const Enabling& c) { return os << c.name; }
    std::vector<UserAction> clicks;
    std::set<int> enabled;  // of the catalog controls
};

class CatalogControlsTest : public WizardTest, public ::testing::WithParamInterface<Enabling> {};

const std::set<int> kSources{kCatalogGroup, kNoCatalogsButton, kUnsignedCatalogsButton,
                             kMakerCertificateButton, kTestCertificateButton};
const std::set<int> kHash{kSha1Button, kSha256Button};
const std::set<int> kMaker{kCertificateFileLabel, kCertificateFileEdit, kCertificateFileBrowse,
                           kKeyFileLabel,         kKeyFileEdit,         kKeyFileBrowse,
                           kPasswordLabel,        kPasswordEdit};
const std::set<int> kTest{kTestCertificateFolderLabel, kTestCertificateFolderEdit,
                          kTestCertificateFolderBrowse};

std::set<int> Joined(std::initializer_list<std::set<int>> sets) {
    std::set<int> all;
    for (const std::set<int>& s : sets) all.insert(s.begin(), s.end());
    return all;
}

// Only "Yes" makes the catalog choice count, and each choice only the fields it reads.
TEST_P(CatalogControlsTest, TheAnswerAndTheCatalogChoiceEnableWhatTheyUse) {
    const ScriptedPageRunner runner =
        RunPage(PageId::Certification, Defaults(Package::ComPort), GetParam().clicks);
    std::set<int> enabled;
    for (const int id : Joined({kSources, kHash, kMaker, kTest}))
        if (runner.LastVisit().controlsAtEnd.at(id).enabled) enabled.insert(id);
    EXPECT_EQ(enabled, GetParam().enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, CatalogControlsTest,
    ::testing::Values(Enabling{"No", {}, {}},
                      Enabling{"YesWithoutCatalogs", {Click(kPlanCertificationButton)}, kSources},
                      Enabling{"Unsigned",
                               {Click(kPlanCertificationButton), Click(kUnsignedCatalogsButton)},
                               Joined({kSources, kHash})},
                      Enabling{"MyCertificate",
                               {Click(kPlanCertificationButton), Click(kMakerCertificateButton)},
                               Joined({kSources, kHash, kMaker})},
                      Enabling{"TestCertificate",
                               {Click(kPlanCertificationButton), Click(kTestCertificateButton)},
                               Joined({kSources, kHash, kTest})},
                      Enabling{"DefaultCatalogsAfterwards",
                               {Click(kPlanCertificationButton), Click(kMakerCertificateButton),
                                Click(kDefaultCatalogsButton)},
                               {}}),
    [](const ::testing::TestParamInfo<Enabling>& info) { return info.param.name; });

struct Refusal {
    std::string name;
    friend std::ostream& operator<<(std::ostream& os, const Refusal& c) { return os << c.name; }
    std::map<std::string, std::string> files;
    std::vector<UserAction> choice;  // after "Yes"
    std::string message;
    int focus;
};

class SignerRefusalTest : public WizardTest, public ::testing::WithParamInterface<Refusal> {};

// Next refuses what cannot sign with a message naming the field, keeps the page and puts the
// focus on that field; nothing is prepared or written.
TEST_P(SignerRefusalTest, NamesTheFieldAndStays) {
    const Refusal& c = GetParam();
    for (const auto& [path, bytes] : c.files) platform.files[path] = bytes;
    const ScriptedPageRunner runner =
        RunPage(PageId::Certification, Defaults(Package::ComPort),
                Then(Then({Click(kPlanCertificationButton)}, c.choice), {Click(kNextButton)}));
    EXPECT_EQ(runner.Messages(),
              (std::vector<ShownMessage>{
                  {PageId::Certification, c.message, MessageIcon::None, MessageButtons::Ok}}));
    EXPECT_TRUE(runner.LastVisit().leftOpenByScript);
    EXPECT_EQ(runner.LastVisit().focusAtEnd, c.focus);
    EXPECT_EQ(services.catalogs.signing.key, nullptr);
    EXPECT_TRUE(platform.writeAttempts.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, SignerRefusalTest,
    ::testing::Values(Refusal{"NoCertificateFile",
                              {},
                              {Click(kMakerCertificateButton)},
                              "Certificate file: the file's name is empty",
                              kCertificateFileEdit},
                      Refusal{"MissingFile",
                              {},
                              Then({Click(kMakerCertificateButton)},
                                   Retype(kCertificateFileEdit, "C:\\keys\\none.pfx")),
                              "Certificate file: no such file",
                              kCertificateFileEdit},
                      Refusal{"PemCertificateWithoutKey",
                              {{"C:\\keys\\maker.pem", "-----BEGIN CERTIFICATE-----\n"}},
                              Then({Click(kMakerCertificateButton)},
                                   Retype(kCertificateFileEdit, "C:\\keys\\maker.pem")),
                              "Key file (PEM): a PEM certificate needs its key file",
                              kKeyFileEdit},
                      Refusal{"KeyFileMissing",
                              {{"C:\\keys\\maker.pem", "-----BEGIN CERTIFICATE-----\n"}},
                              Then(Then({Click(kMakerCertificateButton)},
                                        Retype(kCertificateFileEdit, "C:\\keys\\maker.pem")),
                                   Retype(kKeyFileEdit, "C:\\keys\\maker.key")),
                              "Key file (PEM): no such file",
                              kKeyFileEdit},
                      Refusal{"NoTestCertificateFolder",
                              {},
                              {Click(kTestCertificateButton)},
                              "Test certificate folder: the folder's name is empty",
                              kTestCertificateFolderEdit}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return info.param.name; });

// A PKCS #12 file that the password does not open (a wrong one, or none typed) is the password's
// refusal, not the file's: the focus goes to the password.
TEST_F(WizardTest, APkcs12PasswordThatDoesNotOpenTheFileIsThePasswordsFault) {
    const TempDirectory folder;
    ASSERT_EQ(std::system(("cd '" + folder.Path() +
                           "' && openssl req -x509 -newkey rsa:2048 -nodes -keyout k.pem -out "
                           "c.pem -days 30 -subj /CN=maker 2>/dev/null && openssl pkcs12 -export "
                           "-inkey k.pem -in c.pem -out m.pfx -passout pass:s3cret")
                              .c_str()),
              0);
    for (const char* typed : {"not-it", ""}) {
        SCOPED_TRACE(typed);
        platform.files["C:\\keys\\maker.pfx"] = ReadFileBytes(folder.Path() + "m.pfx").value();
        const ScriptedPageRunner runner =
            RunPage(PageId::Certification, Defaults(Package::ComPort),
                    Then(Then({Click(kPlanCertificationButton), Click(kMakerCertificateButton)},
                              Then(Retype(kCertificateFileEdit, "C:\\keys\\maker.pfx"),
                                   Retype(kPasswordEdit, typed))),
                         {Click(kNextButton)}));
        EXPECT_EQ(runner.Messages(),
                  (std::vector<ShownMessage>{{PageId::Certification, "Password: wrong password",
                                              MessageIcon::None, MessageButtons::Ok}}));
        EXPECT_EQ(runner.LastVisit().focusAtEnd, kPasswordEdit);
        EXPECT_EQ(services.catalogs.signing.key, nullptr);
    }
}

// A test certificate is made on Next, its folder checked; the summary names the folder, and
// the page opened again shows the choice as it was left.
TEST_F(WizardTest, TestCertificateChoiceIsPreparedAndKept) {
    const TempDirectory folder;
    const std::string certs = folder.Path() + "certs";
    platform.directories.insert(certs);
    const ScriptedPageRunner runner = RunWizard(
        Then(Then(ToOptions(Package::ComPort),
                  Then({Click(kNextButton), Click(kPlanCertificationButton),
                        Click(kTestCertificateButton), Click(kSha256Button)},
                       Retype(kTestCertificateFolderEdit, certs))),
             {Click(kNextButton), Click(kNextButton), Click(kBackButton), Click(kBackButton)}));
    ASSERT_EQ(runner.LastVisit().page, P::Certification);
    const PageVisit& summary = runner.Visits()[runner.Visits().size() - 3];
    ASSERT_EQ(summary.page, P::Summary);
    EXPECT_EQ(Line(TextAtOpen(summary, kSummaryValues), "\r\n", 18),
              "test certificate into " + certs + ", SHA-256");
    EXPECT_EQ(Line(TextAtOpen(summary, kSummaryLabels), "\n", 18), "*Catalogs:");
    const PageVisit& again = runner.LastVisit();
    EXPECT_TRUE(again.controlsAtOpen.at(kTestCertificateButton).checked);
    EXPECT_TRUE(again.controlsAtOpen.at(kSha256Button).checked);
    EXPECT_EQ(TextAtOpen(again, kTestCertificateFolderEdit), certs);
    EXPECT_TRUE(again.controlsAtOpen.at(kTestCertificateFolderEdit).enabled);
}

// The output folder, chosen after the test certificate's, must not hold that folder: refused on
// the output-directory page before anything is asked or made.
TEST_F(WizardTest, OutputFolderHoldingTheTestCertificateFolderIsRefused) {
    WizardSettings settings = Defaults(Package::ComPort);
    settings.CertificationChoice = true;
    services.catalogs.source = CatalogSource::TestCertificate;
    services.catalogs.testCertificateFolder = "package";
    const ScriptedPageRunner runner =
        RunPage(P::OutputDirectory, settings,
                Then(Retype(kOutputDirectoryEdit, "package"), {Click(kNextButton)}));
    EXPECT_EQ(runner.Messages(),
              (std::vector<ShownMessage>{
                  {P::OutputDirectory,
                   "Test certificate folder: the folder lies in the package's folder; keep the "
                   "certificate out of the package",
                   MessageIcon::None, MessageButtons::Ok}}));
    EXPECT_TRUE(runner.LastVisit().leftOpenByScript);
    EXPECT_EQ(runner.LastVisit().focusAtEnd, kOutputDirectoryEdit);
    EXPECT_TRUE(platform.events.empty());
}

}  // namespace
}  // namespace usbwiz::testing
