#include <gtest/gtest.h>

#include "settings/SettingsFields.h"
#include "settings/WizardSettings.h"
#include "tests/support/RecordingPlatform.h"

namespace usbwiz {
namespace {

TEST(Settings, ConstructionIsEmpty) {
    const WizardSettings s;
    EXPECT_EQ(s.PackageKind, Package::None);
    for (const TextField& f : kTextFields) EXPECT_EQ(s.*(f.member), "") << f.name;
    for (const FlagField& f : kFlagFields) EXPECT_FALSE(s.*(f.member)) << f.name;
}

TEST(Settings, DefaultsOfBothKinds) {
    testing::RecordingPlatform platform;
    WizardSettings com;
    ApplyPackageDefaults(com, Package::ComPort, platform.WindowsDirectory());
    EXPECT_EQ(com.UninstallName, "tarnunin");
    EXPECT_EQ(com.InfPrefix, "tarn");
    EXPECT_EQ(com.InfName, "");
    EXPECT_EQ(com.SysName, "");
    EXPECT_EQ(com.ComDeviceName, "KR550x USB to UART Bridge Controller");
    EXPECT_EQ(com.UsbDeviceName, "KR550x USB Composite Device");
    EXPECT_EQ(com.Pid, "C730");
    EXPECT_TRUE(com.UsePreinstaller);
    EXPECT_EQ(com.TargetDirectory, "C:\\Program Files\\Vexmor\\MCU\\KR550x");
    EXPECT_EQ(com.GenerationDirectory, "C:\\Vexmor\\MCU\\CustomKR550xDriverInstall");

    WizardSettings fl;
    platform.windowsDirectory = "D:\\WINDOWS";
    ApplyPackageDefaults(fl, Package::Ferrolink, platform.WindowsDirectory());
    EXPECT_EQ(fl.UninstallName, "tnflunin");
    EXPECT_EQ(fl.InfPrefix, "");
    EXPECT_EQ(fl.InfName, "tnfrlnk");
    EXPECT_EQ(fl.SysName, "tnfrlnk");
    EXPECT_EQ(fl.ComDeviceName, "");
    EXPECT_EQ(fl.UsbDeviceName, "Ferrolink Device");
    EXPECT_EQ(fl.Pid, "C731");
    EXPECT_EQ(fl.TargetDirectory, "C:\\Program Files\\Vexmor\\MCU\\Ferrolink");
    EXPECT_EQ(fl.GenerationDirectory, "D:\\Vexmor\\MCU\\CustomFerrolinkDriverInstall");

    // Every default fits the edit box that shows it.
    for (const WizardSettings* s : {&com, &fl})
        for (const TextField& f : kTextFields)
            EXPECT_LE((s->*(f.member)).size(), f.maxLength) << f.name;
}

TEST(Settings, DriveRootOfTheWindowsDirectory) {
    struct Case {
        std::optional<std::string> windows;
        const char* root;
    };
    const Case cases[] = {
        {"C:\\WINDOWS", "C:\\"}, {"E:\\WinNT", "E:\\"}, {"D:\\", "D:\\"},
        {"D:", "C:\\"},          {"", "C:\\"},          {std::nullopt, "C:\\"},
    };
    for (const Case& c : cases) {
        testing::RecordingPlatform platform;
        platform.windowsDirectory = c.windows;
        WizardSettings s;
        ApplyPackageDefaults(s, Package::ComPort, platform.WindowsDirectory());
        EXPECT_EQ(s.GenerationDirectory,
                  std::string(c.root) + "Vexmor\\MCU\\CustomKR550xDriverInstall")
            << c.windows.value_or("(none)");
    }
}

TEST(Settings, ReChoosingTheKindKeepsTypingSwitchingResets) {
    testing::RecordingPlatform platform;
    WizardSettings s;
    ApplyPackageDefaults(s, Package::ComPort, platform.WindowsDirectory());
    s.UninstallName = "myunin";
    s.QuietSetup = 1;
    ApplyPackageDefaults(s, Package::ComPort, platform.WindowsDirectory());
    EXPECT_EQ(s.UninstallName, "myunin");
    EXPECT_EQ(s.QuietSetup, 1);

    ApplyPackageDefaults(s, Package::Ferrolink, platform.WindowsDirectory());
    ApplyPackageDefaults(s, Package::ComPort, platform.WindowsDirectory());
    WizardSettings fresh;
    ApplyPackageDefaults(fresh, Package::ComPort, platform.WindowsDirectory());
    EXPECT_EQ(s, fresh);

    ApplyPackageDefaults(s, Package{3}, platform.WindowsDirectory());
    EXPECT_EQ(s, fresh);
}

// Settings files, templates and pages reach the record through the field tables: each field of
// the record is there once, under its own name. A field named twice would be written twice
// here, or switched back.
TEST(Settings, FieldTablesNameEveryFieldOnce) {
    WizardSettings s;
    s.PackageKind = Package::Ferrolink;
    for (const TextField& f : kTextFields) s.*(f.member) += std::string(f.name) + "!";
    for (const FlagField& f : kFlagFields) s.*(f.member) = !(s.*(f.member));
    const WizardSettings every{.PackageKind = Package::Ferrolink,
                               .UninstallName = "UninstallName!",
                               .InfPrefix = "InfPrefix!",
                               .InfName = "InfName!",
                               .SysName = "SysName!",
                               .ShortName = "ShortName!",
                               .LongName = "LongName!",
                               .ComDeviceName = "ComDeviceName!",
                               .UsbDeviceName = "UsbDeviceName!",
                               .Vid = "Vid!",
                               .Pid = "Pid!",
                               .UsePreinstaller = true,
                               .QuietSetup = true,
                               .SkipFileCopy = true,
                               .TargetDirectory = "TargetDirectory!",
                               .QuietUninstall = true,
                               .LeaveFiles = true,
                               .CertificationChoice = true,
                               .DefaultCatalogFiles = true,
                               .GenerationDirectory = "GenerationDirectory!"};
    EXPECT_EQ(s, every);
}

}  // namespace
}  // namespace usbwiz
