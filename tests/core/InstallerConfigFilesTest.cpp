#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "generate/InstallerConfigFiles.h"
#include "tests/core/DefaultRecord.h"
#include "tests/support/TextLines.h"

namespace usbwiz::testing {
namespace {

std::string CrLfJoined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

struct ConfigFiles {
    std::string u98, u2k, setupIni;
};

// The three texts as the package holds them.
ConfigFiles Written(const WizardSettings& settings) {
    return {RenderUninstallIni98(settings), RenderUninstallIni2k(settings),
            RenderSetupIni(settings)};
}

TEST(InstallerConfigFiles, DefaultsOfBothKinds) {
    const ConfigFiles com = Written(DefaultRecord(Package::ComPort, "C:\\Out\\"));
    EXPECT_EQ(com.u98, CrLfJoined({"*VID_4E2B&PID_C730*", "Tarnwell", "tarnbus.inf", "tarnwdm.inf",
                                   "tarnvxd.inf", "NoQuiet", "NoLeaveSource", "TARNCOMM&4E2B&C730",
                                   "C:\\Program Files\\Vexmor\\MCU\\KR550x"}));
    EXPECT_EQ(com.u2k,
              CrLfJoined({"*VID_4E2B&PID_C730*", "NoQuiet", "NoLeaveSource", "TARNCOMM&4E2B&C730",
                          "C:\\Program Files\\Vexmor\\MCU\\KR550x"}));
    EXPECT_EQ(com.setupIni, CrLfJoined({"KR550x USB to UART Bridge Controller Driver Set",
                                        "Tarnwell",
                                        "C:\\Program Files\\Vexmor\\MCU\\KR550x",
                                        "NoQuiet",
                                        "Copy Files",
                                        "tarnbus.inf",
                                        "tarnw2k.inf",
                                        "tarnwdm.inf",
                                        "tarnvxd.inf",
                                        "tarnunin.exe",
                                        "tarnunin2k.exe",
                                        "tarnunin.u98",
                                        "tarnunin.u2k",
                                        "tarnbus.sys",
                                        "tarncm95.sys",
                                        "tarncmnt.sys",
                                        "tarncr.sys",
                                        "tarnser.sys",
                                        "tarnwh95.sys",
                                        "tarnwhnt.sys",
                                        "tarncomm.vxd",
                                        "tarnvcd.vxd",
                                        "tarnvcr.vxd",
                                        ""}));
    EXPECT_EQ(com.setupIni.size(), 362u);

    const ConfigFiles fl = Written(DefaultRecord(Package::Ferrolink, "C:\\Out\\"));
    EXPECT_EQ(fl.u98, CrLfJoined({"*VID_4E2B&PID_C731*", "Tarnwell", "tnfrlnk.inf", "NoQuiet",
                                  "NoLeaveSource", "TNFRLNK&4E2B&C731",
                                  "C:\\Program Files\\Vexmor\\MCU\\Ferrolink"}));
    EXPECT_EQ(fl.u2k,
              CrLfJoined({"*VID_4E2B&PID_C731*", "NoQuiet", "NoLeaveSource", "TNFRLNK&4E2B&C731",
                          "C:\\Program Files\\Vexmor\\MCU\\Ferrolink"}));
    EXPECT_EQ(fl.setupIni,
              CrLfJoined({"Ferrolink Device Driver Set", "Tarnwell",
                          "C:\\Program Files\\Vexmor\\MCU\\Ferrolink", "NoQuiet", "Copy Files",
                          "tnfrlnk.inf", "tnflunin.exe", "tnflunin2k.exe", "tnflunin.u98",
                          "tnflunin.u2k", "tnfrlnk.sys", "tnlib.sys", ""}));
    EXPECT_EQ(fl.u98.size(), 126u);
    EXPECT_EQ(fl.u2k.size(), 103u);
    EXPECT_EQ(fl.setupIni.size(), 196u);
}

using Changes = std::map<int, std::string>;

// A change to a default record, and exactly the lines of each file that it changes.
struct ChangeCase {
    const char* label;
    Package kind;
    std::function<void(WizardSettings&)> change;
    Changes u98, u2k, setupIni;
};

std::function<void(WizardSettings&)> Set(bool WizardSettings::*flag) {
    return [flag](WizardSettings& s) { s.*flag = 1; };
}

const ChangeCase kChangeCases[] = {
    // Each flag reaches only the lines that carry it; .u2k takes its quiet word from QuietSetup.
    {"QuietSetup", Package::ComPort, Set(&WizardSettings::QuietSetup), {}, {{2, "Quiet"}}, {}},
    {"QuietSetup", Package::Ferrolink, Set(&WizardSettings::QuietSetup), {}, {{2, "Quiet"}}, {}},
    {"QuietUninstall",
     Package::ComPort,
     Set(&WizardSettings::QuietUninstall),
     {{6, "Quiet"}},
     {},
     {{4, "Quiet"}}},
    {"QuietUninstall",
     Package::Ferrolink,
     Set(&WizardSettings::QuietUninstall),
     {{4, "Quiet"}},
     {},
     {{4, "Quiet"}}},
    {"LeaveFiles",
     Package::ComPort,
     Set(&WizardSettings::LeaveFiles),
     {{7, "LeaveSource"}},
     {{3, "LeaveSource"}},
     {}},
    {"LeaveFiles",
     Package::Ferrolink,
     Set(&WizardSettings::LeaveFiles),
     {{5, "LeaveSource"}},
     {{3, "LeaveSource"}},
     {}},
    {"SkipFileCopy", Package::ComPort, Set(&WizardSettings::SkipFileCopy), {}, {}, {}},
    {"SkipFileCopy", Package::Ferrolink, Set(&WizardSettings::SkipFileCopy), {}, {}, {}},
    {"no preinstaller",
     Package::ComPort,
     [](WizardSettings& s) { s.UsePreinstaller = 0; },
     {},
     {},
     {}},
    {"no preinstaller",
     Package::Ferrolink,
     [](WizardSettings& s) { s.UsePreinstaller = 0; },
     {},
     {},
     {}},
    {"CertificationChoice",
     Package::ComPort,
     Set(&WizardSettings::CertificationChoice),
     {},
     {},
     {}},
    {"CertificationChoice",
     Package::Ferrolink,
     Set(&WizardSettings::CertificationChoice),
     {},
     {},
     {}},
    {"DefaultCatalogFiles",
     Package::ComPort,
     Set(&WizardSettings::DefaultCatalogFiles),
     {},
     {},
     {}},

    // Field texts as typed; only the InfStem of the key name is upper-cased.
    {"lower-case prefix",
     Package::ComPort,
     [](WizardSettings& s) { s.InfPrefix = "abc"; },
     {{3, "abcbus.inf"}, {4, "abcwdm.inf"}, {8, "ABCCOMM&4E2B&C730"}},
     {{4, "ABCCOMM&4E2B&C730"}},
     {{6, "abcbus.inf"}, {7, "abcw2k.inf"}, {8, "abcwdm.inf"}}},
    {"lower-case InfName",
     Package::Ferrolink,
     [](WizardSettings& s) { s.InfName = "mydev"; },
     {{3, "mydev.inf"}, {6, "MYDEV&4E2B&C731"}},
     {{4, "MYDEV&4E2B&C731"}},
     {{6, "mydev.inf"}}},
    {"SysName",
     Package::Ferrolink,
     [](WizardSettings& s) { s.SysName = "abc"; },
     {},
     {},
     {{11, "abc.sys"}}},
    {"lower-case Vid",
     Package::ComPort,
     [](WizardSettings& s) { s.Vid = "4e2b"; },
     {{1, "*VID_4e2b&PID_C730*"}, {8, "TARNCOMM&4e2b&C730"}},
     {{1, "*VID_4e2b&PID_C730*"}, {4, "TARNCOMM&4e2b&C730"}},
     {}},
    {"empty TargetDirectory",
     Package::ComPort,
     [](WizardSettings& s) { s.TargetDirectory = ""; },
     {{9, ""}},
     {{5, ""}},
     {{3, ""}}},
    {"empty TargetDirectory",
     Package::Ferrolink,
     [](WizardSettings& s) { s.TargetDirectory = ""; },
     {{7, ""}},
     {{5, ""}},
     {{3, ""}}},
    {"empty LongName",
     Package::ComPort,
     [](WizardSettings& s) { s.LongName = ""; },
     {{2, ""}},
     {},
     {{2, ""}}},
    {"empty COM device name",
     Package::ComPort,
     [](WizardSettings& s) { s.ComDeviceName = ""; },
     {},
     {},
     {{1, " Driver Set"}}},
    {"other uninstall name",
     Package::Ferrolink,
     [](WizardSettings& s) { s.UninstallName = "un"; },
     {},
     {},
     {{7, "un.exe"}, {8, "un2k.exe"}, {9, "un.u98"}, {10, "un.u2k"}}},
};

TEST(InstallerConfigFiles, EachChangeAltersExactlyItsLines) {
    for (const ChangeCase& c : kChangeCases) {
        SCOPED_TRACE(std::string(c.label) + " kind " + std::to_string(static_cast<int>(c.kind)));
        const ConfigFiles base = Written(DefaultRecord(c.kind, "/out/"));
        WizardSettings settings = DefaultRecord(c.kind, "/out/");
        c.change(settings);
        const ConfigFiles changed = Written(settings);
        EXPECT_EQ(ChangedLines(base.u98, changed.u98), c.u98);
        EXPECT_EQ(ChangedLines(base.u2k, changed.u2k), c.u2k);
        EXPECT_EQ(ChangedLines(base.setupIni, changed.setupIni), c.setupIni);
    }
}

// No kind, no lines.
TEST(InstallerConfigFiles, OtherKindsRenderNothing) {
    for (const Package kind : {Package::None, Package{3}, Package{255}}) {
        WizardSettings settings = DefaultRecord(Package::ComPort, "/out/");
        settings.PackageKind = kind;
        const ConfigFiles texts = Written(settings);
        EXPECT_EQ(texts.u98 + texts.u2k + texts.setupIni, "") << int(kind);
    }
}

}  // namespace
}  // namespace usbwiz::testing
