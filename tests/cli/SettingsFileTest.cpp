#include <gtest/gtest.h>

#include "cli/SettingsFile.h"
#include "tests/support/RecordingPlatform.h"

namespace usbwiz {
namespace {

// Applies a parsed file to a record, as the generator does after the kind's defaults.
WizardSettings Applied(const SettingsFile& file, WizardSettings s) {
    for (const SettingsFileText& t : file.texts) s.*(t.field->member) = t.value;
    for (const SettingsFileFlag& f : file.flags) s.*(f.field->member) = f.value;
    return s;
}

TEST(SettingsFile, ReadsFieldsCommentsAndLineEnds) {
    const std::string text =
        "\xEF\xBB\xBF# a pipeline's product\r\n"
        "PackageKind = 2\r\n"
        "\r\n"
        "   # indented comment\n"
        "UninstallName=tnxunin\n"
        "\tLongName   =   Acme # Devices   \n"
        "ShortName = \" \"\n"
        "TargetDirectory = \"  C:\\Acme  \"\n"
        "UsbDeviceName = \"\"Quoted\"\"\n"
        "SysName =\n"
        "QuietSetup = 1\r"  // a CR alone ends a line too
        "LeaveFiles = 0";   // no final line feed
    const ParsedSettingsFile parsed = ParseSettingsFile(text, "acme.txt");
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.file.kind, Package::Ferrolink);

    const WizardSettings s = Applied(parsed.file, WizardSettings{});
    EXPECT_EQ(s.UninstallName, "tnxunin");
    EXPECT_EQ(s.LongName, "Acme # Devices");
    EXPECT_EQ(s.ShortName, " ");
    EXPECT_EQ(s.TargetDirectory, "  C:\\Acme  ");
    EXPECT_EQ(s.UsbDeviceName, "\"Quoted\"");
    EXPECT_EQ(s.SysName, "");
    EXPECT_EQ(s.QuietSetup, 1);
    EXPECT_EQ(s.LeaveFiles, 0);

    ASSERT_EQ(parsed.file.texts.size(), 6u);
    EXPECT_EQ(parsed.file.texts[0].line, 5);  // lines count from 1, comments and blanks included
}

TEST(SettingsFile, Refusals) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"Uninstallname = x\n", "run.txt:1: unknown field 'Uninstallname'"},
        {"# c\nVendor = 4E2B\n", "run.txt:2: unknown field 'Vendor'"},
        {"GenerationDirectory = C:\\Out\\\n",
         "run.txt:1: GenerationDirectory is not read from a settings file; give --out"},
        {"Vid 4E2B\n", "run.txt:1: expected 'Field = value', not 'Vid 4E2B'"},
        {"= 4E2B\n", "run.txt:1: a field name is missing before '='"},
        {"Vid = 1\nPid = 2\nVid = 3\n", "run.txt:3: Vid is set twice"},
        {"PackageKind = 1\nPackageKind = 1\n", "run.txt:2: PackageKind is set twice"},
        {"PackageKind = 0\n",
         "run.txt:1: PackageKind must be 1 (virtual COM port) or 2 (Ferrolink), not '0'"},
        {"PackageKind = com\n",
         "run.txt:1: PackageKind must be 1 (virtual COM port) or 2 (Ferrolink), not 'com'"},
        {"QuietSetup = yes\n", "run.txt:1: QuietSetup must be 0 or 1, not 'yes'"},
        {"LeaveFiles = 2\n", "run.txt:1: LeaveFiles must be 0 or 1, not '2'"},
        {"UsePreinstaller =\n", "run.txt:1: UsePreinstaller must be 0 or 1, not ''"},
        {"# acme\rPid = C7A0\r\x1B[2J\r", "run.txt:3: expected 'Field = value', not '\\x1B[2J'"},
        {"\xFF\xFEP\0a\0", "run.txt: settings files are UTF-8, not UTF-16"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseSettingsFile(c.text, "run.txt").error, c.error) << c.text;
}

TEST(SettingsFile, WhatIsWrittenReadsBackTheSame) {
    testing::RecordingPlatform platform;
    for (Package kind : {Package::ComPort, Package::Ferrolink}) {
        WizardSettings tricky;
        ApplyPackageDefaults(tricky, kind, platform.WindowsDirectory());
        tricky.ShortName = " ";
        tricky.LongName = "\"M\xC3\xBCller\" = \"Devices\"";
        tricky.UsbDeviceName = "\"";
        tricky.TargetDirectory = "  C:\\Program Files\\Acme\t";
        tricky.UninstallName = "#x";
        tricky.Vid = "";
        tricky.QuietUninstall = 1;
        tricky.CertificationChoice = 1;

        const std::string dump = FormatSettingsFile(tricky, 1251);
        const ParsedSettingsFile parsed = ParseSettingsFile(dump, "dump");
        ASSERT_EQ(parsed.error, "") << dump;
        EXPECT_EQ(parsed.file.kind, kind);
        EXPECT_EQ(parsed.file.codePage, 1251u);
        WizardSettings replayed;
        ApplyPackageDefaults(replayed,
                             kind == Package::ComPort ? Package::Ferrolink : Package::ComPort,
                             platform.WindowsDirectory());
        replayed.PackageKind = kind;
        replayed.GenerationDirectory = tricky.GenerationDirectory;
        EXPECT_EQ(Applied(parsed.file, replayed), tricky);
    }
}

}  // namespace
}  // namespace usbwiz
