#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "generate/SummaryText.h"
#include "tests/support/RecordingPlatform.h"

namespace usbwiz {
namespace {

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        lines.emplace_back(text.substr(start, end - start));
        if (end == std::string_view::npos) return lines;
        start = end + separator.size();
    }
}

WizardSettings Defaults(Package kind) {
    testing::RecordingPlatform platform;
    WizardSettings settings;
    ApplyPackageDefaults(settings, kind, platform.WindowsDirectory());
    settings.GenerationDirectory += '\\';
    return settings;
}

struct SummaryCase {
    std::string name;
    friend std::ostream& operator<<(std::ostream& os, const SummaryCase& c) { return os << c.name; }
    WizardSettings settings;
    std::vector<std::string> lines;
};

WizardSettings With(WizardSettings settings, void (*change)(WizardSettings&)) {
    change(settings);
    return settings;
}

class BuildSummaryTextTest : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(BuildSummaryTextTest, GivesTwentyValueLinesBesideTheLabels) {
    const SummaryCase& c = GetParam();
    const std::string text = BuildSummaryText(c.settings);
    EXPECT_EQ(Split(text, "\r\n"), c.lines);
    EXPECT_EQ(Split(SummaryLabelText(c.settings.PackageKind), "\n").size(), c.lines.size());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BuildSummaryTextTest,
    ::testing::Values(
        SummaryCase{"ComPortDefaults",
                    Defaults(Package::ComPort),
                    {"tarnunin.u98, tarnunin.u2k",
                     "tarnxxxx.inf",
                     "",
                     "tarn",
                     "Tarnwell",
                     "",
                     "KR550x USB to UART Bridge Controller",
                     "KR550x USB Composite Device",
                     "",
                     "4E2B",
                     "C730",
                     "",
                     "Yes",
                     "Yes",
                     "Yes",
                     "C:\\Program Files\\Vexmor\\MCU\\KR550x",
                     "Yes",
                     "No",
                     "",
                     "C:\\Vexmor\\MCU\\CustomKR550xDriverInstall\\"}},
        SummaryCase{"FerrolinkDefaults",
                    Defaults(Package::Ferrolink),
                    {"tnflunin.u98, tnflunin.u2k",
                     "tnfrlnk.inf",
                     "tnfrlnk.sys",
                     "",
                     "tarn",
                     "Tarnwell",
                     "",
                     "Ferrolink Device",
                     "",
                     "4E2B",
                     "C731",
                     "",
                     "Yes",
                     "Yes",
                     "Yes",
                     "C:\\Program Files\\Vexmor\\MCU\\Ferrolink",
                     "Yes",
                     "No",
                     "",
                     "C:\\Vexmor\\MCU\\CustomFerrolinkDriverInstall\\"}},
        SummaryCase{"InvertedFlags",
                    With(Defaults(Package::ComPort),
                         [](WizardSettings& s) {
                             s.QuietSetup = 1;
                             s.SkipFileCopy = 1;
                             s.QuietUninstall = 1;
                             s.LeaveFiles = 1;
                         }),
                    {"tarnunin.u98, tarnunin.u2k",
                     "tarnxxxx.inf",
                     "",
                     "tarn",
                     "Tarnwell",
                     "",
                     "KR550x USB to UART Bridge Controller",
                     "KR550x USB Composite Device",
                     "",
                     "4E2B",
                     "C730",
                     "",
                     "Yes",
                     "No",
                     "No",
                     "C:\\Program Files\\Vexmor\\MCU\\KR550x",
                     "No",
                     "Yes",
                     "",
                     "C:\\Vexmor\\MCU\\CustomKR550xDriverInstall\\"}},
        // Without a preinstaller every option line shows "-", the uninstaller ones included.
        SummaryCase{"NoPreinstallerComPort",
                    With(Defaults(Package::ComPort),
                         [](WizardSettings& s) {
                             s.UsePreinstaller = 0;
                             s.QuietUninstall = 1;
                             s.LeaveFiles = 1;
                             s.TargetDirectory = "D:\\Elsewhere";
                         }),
                    {"tarnunin.u98, tarnunin.u2k",
                     "tarnxxxx.inf",
                     "",
                     "tarn",
                     "Tarnwell",
                     "",
                     "KR550x USB to UART Bridge Controller",
                     "KR550x USB Composite Device",
                     "",
                     "4E2B",
                     "C730",
                     "",
                     "No",
                     "-",
                     "-",
                     "-",
                     "-",
                     "-",
                     "",
                     "C:\\Vexmor\\MCU\\CustomKR550xDriverInstall\\"}},
        SummaryCase{
            "NoPreinstallerFerrolink",
            With(Defaults(Package::Ferrolink), [](WizardSettings& s) { s.UsePreinstaller = 0; }),
            {"tnflunin.u98, tnflunin.u2k",
             "tnfrlnk.inf",
             "tnfrlnk.sys",
             "",
             "tarn",
             "Tarnwell",
             "",
             "Ferrolink Device",
             "",
             "4E2B",
             "C731",
             "",
             "No",
             "-",
             "-",
             "-",
             "-",
             "-",
             "",
             "C:\\Vexmor\\MCU\\CustomFerrolinkDriverInstall\\"}},
        // Empty fields leave empty lines; the count stays twenty.
        SummaryCase{
            "EmptyFields",
            With(Defaults(Package::Ferrolink),
                 [](WizardSettings& s) {
                     s.UninstallName.clear();
                     s.InfName.clear();
                     s.SysName.clear();
                     s.Vid.clear();
                     s.TargetDirectory.clear();
                     s.GenerationDirectory.clear();
                 }),
            {".u98, .u2k", ".inf", ".sys", "", "tarn", "Tarnwell", "",    "Ferrolink Device",
             "",           "",     "C731", "", "Yes",  "Yes",      "Yes", "",
             "Yes",        "No",   "",     ""}}),
    [](const ::testing::TestParamInfo<SummaryCase>& info) { return info.param.name; });

TEST(SummaryTextTest, OtherKindsHaveNoValuesAndTheVirtualComPortLabels) {
    for (Package kind : {Package::None, Package{3}, Package{255}}) {
        SCOPED_TRACE(static_cast<int>(kind));
        WizardSettings settings = Defaults(Package::ComPort);
        settings.PackageKind = kind;
        EXPECT_EQ(BuildSummaryText(settings), "");
        EXPECT_EQ(SummaryLabelText(kind), SummaryLabelText(Package::ComPort));
    }
}

TEST(SummaryTextTest, LabelColumnsOfBothKinds) {
    const std::vector<std::string> com = Split(SummaryLabelText(Package::ComPort), "\n");
    const std::vector<std::string> ferrolink = Split(SummaryLabelText(Package::Ferrolink), "\n");
    ASSERT_EQ(com.size(), 20u);
    ASSERT_EQ(ferrolink.size(), 20u);
    EXPECT_EQ(std::vector<std::string>(com.begin(), com.begin() + 12),
              (std::vector<std::string>{"* Uninstall INI File Name:", "* INF File Names:", "",
                                        "* Short Name:", "* Long Name:", "", "* COM Device Name:",
                                        "* USB Device Name:", "", "* VID:", "* PID:", ""}));
    EXPECT_EQ(std::vector<std::string>(ferrolink.begin(), ferrolink.begin() + 12),
              (std::vector<std::string>{
                  "* Uninstall INI File Name:", "* INF File Name:", "* Driver File Name:", "",
                  "* Short Name:", "* Long Name:", "", "* USB Device Name:", "",
                  "* VID:", "* PID:", ""}));
    // Lines 13 onwards are the same for both kinds, without a space after the asterisk.
    const std::vector<std::string> options{"*Use Preinstaller?",
                                           "*Display Setup?",
                                           "*Copy Files?",
                                           "*Target Directory:",
                                           "*Display Uninstall?",
                                           "*Leave Files?",
                                           "",
                                           "*Generation Directory:"};
    EXPECT_EQ(std::vector<std::string>(com.begin() + 12, com.end()), options);
    EXPECT_EQ(std::vector<std::string>(ferrolink.begin() + 12, ferrolink.end()), options);
    // Labels and values leave the same lines empty, so they stay level.
    for (Package kind : {Package::ComPort, Package::Ferrolink}) {
        const std::vector<std::string> labels = Split(SummaryLabelText(kind), "\n");
        const std::vector<std::string> values = Split(BuildSummaryText(Defaults(kind)), "\r\n");
        for (std::size_t i = 0; i < labels.size(); ++i)
            EXPECT_EQ(labels[i].empty(), values[i].empty())
                << "kind " << static_cast<int>(kind) << " line " << i;
    }
}

}  // namespace
}  // namespace usbwiz
