#include <gtest/gtest.h>

#include <functional>

#include "cli/EffectiveSettings.h"
#include "tests/support/RecordingPlatform.h"

namespace usbwiz {
namespace {

// The record for a command line and an optional settings file, on a platform whose Windows
// directory is on D:.
EffectiveSettings Build(const std::vector<std::string>& args, const char* fileText = nullptr) {
    testing::RecordingPlatform platform;
    platform.windowsDirectory = "D:\\WINNT";
    const ParsedCommandLine parsed = ParseCommandLine(args);
    EXPECT_EQ(parsed.error, "");
    ParsedSettingsFile file;
    if (fileText != nullptr) {
        file = ParseSettingsFile(fileText, "run.txt");
        EXPECT_EQ(file.error, "");
    }
    return BuildEffectiveSettings(parsed.options, fileText ? &file.file : nullptr, "run.txt",
                                  platform, '/');
}

WizardSettings Defaults(Package kind) {
    testing::RecordingPlatform platform;
    platform.windowsDirectory = "D:\\WINNT";
    WizardSettings s;
    ApplyPackageDefaults(s, kind, platform.WindowsDirectory());
    return s;
}

TEST(EffectiveSettings, LayersDefaultsFileAndCommandLine) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        const char* file;
        Package kind;
        std::function<void(WizardSettings&)> change;  // from the kind's defaults
    };
    const Case cases[] = {
        {"com defaults", {"--kind", "com"}, nullptr, Package::ComPort, [](WizardSettings&) {}},
        {"ferrolink defaults",
         {"--kind", "ferrolink"},
         nullptr,
         Package::Ferrolink,
         [](WizardSettings&) {}},
        {"flags",
         {"--kind", "com", "--no-preinstaller", "--quiet-setup", "--skip-file-copy",
          "--quiet-uninstall", "--leave-files"},
         nullptr,
         Package::ComPort,
         [](WizardSettings& s) {
             s.UsePreinstaller = 0, s.QuietSetup = 1, s.SkipFileCopy = 1, s.QuietUninstall = 1,
             s.LeaveFiles = 1;
         }},
        {"no preinstaller resets its hidden options, as the wizard's check box does",
         {"--kind", "ferrolink", "--no-preinstaller"},
         "QuietSetup = 1\nSkipFileCopy = 1\nTargetDirectory = D:\\Tools\n",
         Package::Ferrolink,
         [](WizardSettings& s) {
             s.UsePreinstaller = 0, s.QuietSetup = 0, s.SkipFileCopy = 0,
             s.TargetDirectory = "C:\\Program Files\\Vexmor\\MCU\\KR550x";
         }},
        {"options beside --no-preinstaller win over its reset",
         {"--kind", "ferrolink", "--no-preinstaller", "--target-dir", "E:\\Drv"},
         nullptr,
         Package::Ferrolink,
         [](WizardSettings& s) { s.UsePreinstaller = 0, s.TargetDirectory = "E:\\Drv"; }},
        {"certification plan",
         {"--kind", "com", "--certification", "plan"},
         nullptr,
         Package::ComPort,
         [](WizardSettings& s) { s.CertificationChoice = 1, s.DefaultCatalogFiles = 0; }},
        {"certification default",
         {"--kind", "ferrolink", "--certification", "default"},
         nullptr,
         Package::Ferrolink,
         [](WizardSettings& s) { s.CertificationChoice = 1, s.DefaultCatalogFiles = 1; }},
        {"certification none over the file",
         {"--certification=none"},
         "PackageKind = 1\nCertificationChoice = 1\nDefaultCatalogFiles = 1\n",
         Package::ComPort,
         [](WizardSettings&) {}},
        {"file gives the kind and fields",
         {},
         "PackageKind = 2\nSysName = acme\nVid = 1a\nQuietSetup = 1\n",
         Package::Ferrolink,
         [](WizardSettings& s) { s.SysName = "acme", s.Vid = "1A", s.QuietSetup = 1; }},
        {"command line wins over the file",
         {"--kind", "com", "--uninstall-name", "cli"},
         "PackageKind = 1\nUninstallName = file\nLongName = Acme\n",
         Package::ComPort,
         [](WizardSettings& s) { s.UninstallName = "cli", s.LongName = "Acme"; }},
        {"output directory with a trailing separator",
         {"--kind", "com", "--out", "/tmp/pkg"},
         nullptr,
         Package::ComPort,
         [](WizardSettings& s) { s.GenerationDirectory = "/tmp/pkg/"; }},
        {"a trailing separator is not doubled",
         {"--kind", "com", "--out=/tmp/pkg/"},
         nullptr,
         Package::ComPort,
         [](WizardSettings& s) { s.GenerationDirectory = "/tmp/pkg/"; }},
    };
    for (const Case& c : cases) {
        const EffectiveSettings e = Build(c.args, c.file);
        ASSERT_EQ(e.error, "") << c.name;
        WizardSettings expected = Defaults(c.kind);
        c.change(expected);
        EXPECT_EQ(e.settings, expected) << c.name;
    }
}

TEST(EffectiveSettings, OriginsNameTheOptionOrTheFileLine) {
    const EffectiveSettings e =
        Build({"--kind", "com", "--vid", "1", "--out", "/o"}, "# c\nVid = 2\nPid = 3\n");
    EXPECT_EQ(e.origins.at("Vid"), "--vid");
    EXPECT_EQ(e.origins.at("Pid"), "run.txt:3: Pid");
    EXPECT_EQ(e.origins.at("ShortName"), "--short-name");
    EXPECT_EQ(e.origins.at("GenerationDirectory"), "--out");
    EXPECT_EQ(e.outputDirectory, "/o");
}

TEST(EffectiveSettings, TheKindMustBeKnownAndAgree) {
    EXPECT_EQ(Build({}).error, "--kind com|ferrolink is required");
    EXPECT_EQ(Build({}, "Vid = 1\n").error, "--kind com|ferrolink is required");
    EXPECT_EQ(Build({"--kind", "com"}, "PackageKind = 2\n").error,
              "--kind com does not match PackageKind = 2 in run.txt");
    EXPECT_EQ(Build({"--kind", "ferrolink"}, "PackageKind = 2\n").error, "");
}

}  // namespace
}  // namespace usbwiz
