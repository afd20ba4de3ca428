#include <gtest/gtest.h>

#include <ostream>

#include "tests/pages/WizardTestHarness.h"

namespace usbwiz::testing {
namespace {

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

}  // namespace
}  // namespace usbwiz::testing
