#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

#include "cli/RunUsbDrvGen.h"
#include "generate/GenerationPlan.h"
#include "generate/PackageContents.h"
#include "tests/support/FileBytes.h"
#include "tests/support/RecordingPlatform.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/TestRunContext.h"

namespace usbwiz {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string errors;
};

Outcome RunWith(Platform& platform, const std::vector<std::string>& args,
                std::map<std::string, std::string> environment = {}) {
    testing::TestRunContext run;
    run.environment = std::move(environment);
    const int status = RunUsbDrvGen(args, platform, EmbeddedPayloads(), run.Context());
    return {status, run.out.str(), run.errors.str()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

const std::string kLong256(256, 'x');
// A settings file of exactly 1 MiB (1048576 bytes): its kind, then one long comment line.
const std::string kOneMiBSettings = "PackageKind = 1\n#" + std::string(1048576 - 18, '.') + "\n";

TEST(UsbDrvGen, RefusedInputWritesNothing) {
    const std::string overOneMiB = kOneMiBSettings + "\n";
    struct Case {
        std::vector<std::string> args;
        const char* settingsFile;  // written to a file passed with --settings; FILE in `error`
        std::string error;
    };
    const std::vector<Case> cases = {
        // The command line itself.
        {{"--kind", "com", "--out", "/o", "--bogus"}, nullptr, "unknown option '--bogus'"},
        {{"--out", "/o"}, nullptr, "--kind com|ferrolink is required"},
        {{"--kind", "com"}, nullptr, "--out DIR is required"},
        {{"--kind", "com", "--list"}, nullptr, "--out DIR is required"},
        {{"--kind", "com", "--summary"}, nullptr, "--out DIR is required"},
        // Nothing blank, per kind.
        {{"--kind", "com", "--out", "/o", "--uninstall-name="},
         nullptr,
         "--uninstall-name: Please fill in all blanks."},
        {{"--kind", "com", "--out", "/o", "--inf-prefix="},
         nullptr,
         "--inf-prefix: Please fill in all blanks."},
        {{"--kind", "ferrolink", "--out", "/o", "--inf-name="},
         nullptr,
         "--inf-name: Please fill in all blanks."},
        {{"--kind", "ferrolink", "--out", "/o", "--sys-name="},
         nullptr,
         "--sys-name: Please fill in all blanks."},
        {{"--kind", "ferrolink", "--out", "/o", "--short-name="},
         nullptr,
         "--short-name: Please fill in all blanks."},
        {{"--kind", "com", "--out", "/o", "--long-name="},
         nullptr,
         "--long-name: Please fill in all blanks."},
        {{"--kind", "com", "--out", "/o", "--com-device-name="},
         nullptr,
         "--com-device-name: Please fill in all blanks."},
        {{"--kind", "ferrolink", "--out", "/o", "--usb-device-name="},
         nullptr,
         "--usb-device-name: Please fill in all blanks."},
        // Identifiers: hexadecimal is checked before blank, as on the IDs pages.
        {{"--kind", "com", "--out", "/o", "--vid", "12G4"},
         nullptr,
         "--vid: Please enter a valid hexadecimal number."},
        {{"--kind", "com", "--out", "/o", "--vid=", "--pid", "XYZ"},
         nullptr,
         "--pid: Please enter a valid hexadecimal number."},
        {{"--kind", "com", "--out", "/o", "--vid=", "--pid", "C731"},
         nullptr,
         "--vid: Please fill in all blanks."},
        {{"--kind", "ferrolink", "--out", "/o", "--pid="},
         nullptr,
         "--pid: Please fill in all blanks."},
        {{"--kind", "com", "--out", "/o", "--pid", "0x12"},
         nullptr,
         "--pid: Please enter a valid hexadecimal number."},
        {{"--kind", "com", "--out", "/o", "--pid", "0x1234"},
         nullptr,
         "--pid: at most 4 characters"},
        {{"--kind", "com", "--out", "/o", "--pid", "-12"},
         nullptr,
         "--pid: Please enter a valid hexadecimal number."},
        // The edit boxes' limits.
        {{"--kind", "com", "--out", "/o", "--uninstall-name", "123456789"},
         nullptr,
         "--uninstall-name: at most 8 characters"},
        {{"--kind", "com", "--out", "/o", "--inf-prefix", "abcde"},
         nullptr,
         "--inf-prefix: at most 4 characters"},
        {{"--kind", "ferrolink", "--out", "/o", "--inf-name", "123456789"},
         nullptr,
         "--inf-name: at most 8 characters"},
        {{"--kind", "ferrolink", "--out", "/o", "--sys-name", "123456789"},
         nullptr,
         "--sys-name: at most 8 characters"},
        {{"--kind", "com", "--out", "/o", "--short-name", std::string(32, 's')},
         nullptr,
         "--short-name: at most 31 characters"},
        {{"--kind", "com", "--out", "/o", "--long-name", kLong256},
         nullptr,
         "--long-name: at most 255 characters"},
        {{"--kind", "com", "--out", "/o", "--com-device-name", kLong256},
         nullptr,
         "--com-device-name: at most 255 characters"},
        {{"--kind", "com", "--out", "/o", "--usb-device-name", kLong256},
         nullptr,
         "--usb-device-name: at most 255 characters"},
        {{"--kind", "com", "--out", "/o", "--vid", "12345"},
         nullptr,
         "--vid: at most 4 characters"},
        {{"--kind", "com", "--out", "/o", "--target-dir", "C:\\" + std::string(258, 't')},
         nullptr,
         "--target-dir: at most 260 characters"},
        {{"--kind", "com", "--out", "/" + std::string(260, 'o')},
         nullptr,
         "--out: at most 260 characters"},
        // Control characters anywhere.
        {{"--kind", "com", "--out", "/o", "--long-name", "Acme\r\nInc"},
         nullptr,
         "--long-name: control character U+000D is not allowed (a line break would corrupt "
         "the generated files)"},
        {{"--kind", "com", "--out", "/o", "--short-name", "a\x7f"},
         nullptr,
         "--short-name: control character U+007F is not allowed (a line break would corrupt "
         "the generated files)"},
        {{"--kind", "com", "--out", "/o", "--target-dir", "C:\\a\tb"},
         nullptr,
         "--target-dir: control character U+0009 is not allowed (a line break would corrupt "
         "the generated files)"},
        {{"--kind", "com", "--out", "/o", "--vid", "\x01"},
         nullptr,
         "--vid: control character U+0001 is not allowed (a line break would corrupt the "
         "generated files)"},
        {{"--kind", "com", "--out", "/tmp/a\nb"},
         nullptr,
         "--out: control character U+000A is not allowed (a line break would corrupt the "
         "generated files)"},
        {{"--kind", "com", "--out", "/o", "--long-name", "a\xC2\x85"},
         nullptr,
         "--long-name: control character U+0085 is not allowed (a line break would corrupt "
         "the generated files)"},
        // Text encoding: UTF-8 in, the package's code page out.
        {{"--kind", "com", "--out", "/o", "--long-name", "Caf\xE9"},
         nullptr,
         "--long-name: not UTF-8 text (byte 4)"},
        {{"--kind", "com", "--out", "/o", "--long-name",
          "\xD0\x90"
          "cme"},
         nullptr,
         "--long-name: '\xD0\x90' (U+0410) is not in code page 1252 (--codepage chooses the "
         "package's code page)"},
        {{"--kind", "com", "--out", "/o", "--codepage", "1252", "--long-name",
          "\xE2\x82\xAC\xD0\x90"},
         nullptr,
         "--long-name: '\xD0\x90' (U+0410) is not in code page 1252 (--codepage chooses the "
         "package's code page)"},
        {{"--kind", "com", "--out", "/o", "--codepage", "437"},
         nullptr,
         "--codepage: expected a Windows ANSI code page (874, 932, 936, 949, 950, 1250, 1251, "
         "1252, 1253, 1254, 1255, 1256, 1257, 1258), not '437'"},
        {{"--out", "/o"},
         "PackageKind = 1\n# Caf\xE9\n",
         "FILE:2: not UTF-8 text (settings files are UTF-8)"},
        {{"--out", "/o"},
         "PackageKind = 1\nCodePage = utf8\n",
         "FILE:2: CodePage: expected a Windows ANSI code page (874, 932, 936, 949, 950, 1250, "
         "1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258), not 'utf8'"},
        // The path rule.
        {{"--kind", "com", "--out", "/o", "--target-dir", "C:\\a*b"},
         nullptr,
         "--target-dir: Directory cannot contain: / : * ? \" < > |"},
        {{"--kind", "com", "--out", "/o", "--target-dir", "   "},
         nullptr,
         "--target-dir: Directory cannot contain: / : * ? \" < > |"},
        {{"--kind", "ferrolink", "--out", "/o", "--target-dir", "C:Temp"},
         nullptr,
         "--target-dir: Directory cannot contain: / : * ? \" < > |"},
        {{"--kind", "com", "--out", "/tmp/a:b"},
         nullptr,
         "--out: Directory cannot contain: / : * ? \" < > |"},
        {{"--kind", "com", "--out", "/tmp/a|b"},
         nullptr,
         "--out: Directory cannot contain: / : * ? \" < > |"},
        {{"--kind", "com", "--out", ""}, nullptr, "--out: empty (give the output directory)"},
        // The other kind's fields.
        {{"--kind", "com", "--out", "/o", "--inf-name", "x"},
         nullptr,
         "--inf-name: not used by --kind com"},
        {{"--kind", "com", "--out", "/o", "--sys-name", "x"},
         nullptr,
         "--sys-name: not used by --kind com"},
        {{"--kind", "ferrolink", "--out", "/o", "--inf-prefix", "x"},
         nullptr,
         "--inf-prefix: not used by --kind ferrolink"},
        {{"--kind", "ferrolink", "--out", "/o", "--com-device-name", "x"},
         nullptr,
         "--com-device-name: not used by --kind ferrolink"},
        // Settings files.
        {{"--out", "/o"}, "PackageKind = 1\nFoo = bar\n", "FILE:2: unknown field 'Foo'"},
        {{"--out", "/o", "--settings", "/dev/zero"},
         nullptr,
         "cannot read settings file /dev/zero: larger than 1 MiB"},
        {{"--out", "/o"}, overOneMiB.c_str(), "cannot read settings file FILE: larger than 1 MiB"},
        // Catalogs: only where an INF names one, and only with the certification plan.
        {{"--kind", "ferrolink", "--out", "/o", "--catalog"},
         nullptr,
         "--catalog: no INF file of this package names a catalog file (the Ferrolink INF has "
         "none)"},
        {{"--kind", "com", "--out", "/o", "--catalog-hash", "sha256"},
         nullptr,
         "--catalog-hash: only with --catalog"},
        {{"--kind", "com", "--out", "/o", "--catalog", "--certification", "none"},
         nullptr,
         "--catalog: the INF files name their catalogs only with --certification plan"},
        {{"--kind", "com", "--out", "/o", "--catalog", "--catalog-hash", "md5"},
         nullptr,
         "--catalog-hash: expected sha1 or sha256, not 'md5'"},
        // An empty variable in a pipeline leaves an option without its value.
        {{"--kind", "com", "--long-name", "--no-preinstaller", "--out", "x"},
         nullptr,
         "--long-name: needs a value (one that starts with -- goes as --long-name=VALUE)"},
        {{"--kind", "com", "--vid", "12", "34", "--out", "x"},
         nullptr,
         "unexpected argument '34' (--vid takes one value: '12')"},
        {{"--out", "/o"},
         "PackageKind = 1\nGenerationDirectory = /x/\n",
         "FILE:2: GenerationDirectory is not read from a settings file; give --out"},
        {{"--out", "/o"},
         "PackageKind = 1\n\nVid = 4e2g\n",
         "FILE:3: Vid: Please enter a valid hexadecimal number."},
        {{"--out", "/o"},
         "PackageKind = 2\nSysName = toolongname\n",
         "FILE:2: SysName: at most 8 characters"},
        {{"--kind", "com", "--out", "/o"},
         "PackageKind = 2\n",
         "--kind com does not match PackageKind = 2 in FILE"},
        {{"--kind", "com", "--out", "/o"},
         "DefaultCatalogFiles = 1\n",
         "DefaultCatalogFiles = 1 needs CertificationChoice = 1 (use --certification default)"},
    };
    testing::TempDirectory temp;
    const std::string file = temp.Path() + "run.txt";
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        std::string expected = "usbdrvgen: " + c.error + "\n";
        if (c.settingsFile != nullptr) {
            ASSERT_TRUE(testing::WriteFileBytes(file, c.settingsFile));
            args.insert(args.end(), {"--settings", file});
            for (std::size_t at; (at = expected.find("FILE")) != std::string::npos;)
                expected.replace(at, 4, file);
        }
        testing::RecordingPlatform platform;
        const Outcome run = RunWith(platform, args);
        const std::string where = ::testing::PrintToString(args);
        EXPECT_EQ(run.status, kExitRefused) << where;
        EXPECT_EQ(run.errors, expected) << where;
        EXPECT_EQ(run.out, "") << where;
        EXPECT_TRUE(platform.writeAttempts.empty()) << where;
        EXPECT_TRUE(platform.events.empty()) << where << ": no directory made, no message box";
    }
}

TEST(UsbDrvGen, AcceptsWhatTheWizardAccepts) {
    const testing::TempDirectory temp;
    const std::string oneMiB = temp.Path() + "one-mib.txt";
    ASSERT_TRUE(testing::WriteFileBytes(oneMiB, kOneMiBSettings));
    const std::vector<std::vector<std::string>> accepted = {
        {"--short-name", " "},                           // a space is not blank
        {"--vid", "ab12", "--pid", "1"},                 // upper-cased; one digit will do
        {"--target-dir", "  C:\\a:\\b  "},               // ":\" anywhere; blanks kept
        {"--uninstall-name", "1a.b-_&"},                 // digits first, dots and the like
        {"--long-name", std::string(255, 'L') + ""},     // exactly at the limit
        {"--long-name", " Caf\xC3\xA9 (a,b; c) \\o/ "},  // UTF-8; blanks and INF characters
        {"--uninstall-name",
         "\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC"},  // 8 in 1252
        {"--codepage", "1251", "--long-name",
         "\xD0\x90"
         "cme"},
        {"--certification", "default"},
        {"--settings", oneMiB},  // a settings file of exactly 1 MiB
    };
    for (const auto& extra : accepted) {
        std::vector<std::string> args{"--kind", "com", "--out", "/o", "--list"};
        args.insert(args.end(), extra.begin(), extra.end());
        testing::RecordingPlatform platform;
        const Outcome run = RunWith(platform, args);
        EXPECT_EQ(run.status, kExitWritten) << ::testing::PrintToString(extra) << run.errors;
    }
}

TEST(UsbDrvGen, MissingSettingsFileIsRefusedWithTheReason) {
    testing::RecordingPlatform platform;
    const Outcome run =
        RunWith(platform, {"--kind", "com", "--out", "/o", "--settings", "/nonexistent/run.txt"});
    EXPECT_EQ(run.status, kExitRefused);
    EXPECT_EQ(
        run.errors,
        "usbdrvgen: cannot read settings file /nonexistent/run.txt: No such file or directory\n");

    testing::TempDirectory temp;  // a directory is not a settings file, not even an empty one
    const Outcome directory =
        RunWith(platform, {"--kind", "com", "--out", "/o", "--settings", temp.Path()});
    EXPECT_EQ(directory.status, kExitRefused);
    EXPECT_EQ(directory.errors,
              "usbdrvgen: cannot read settings file " + temp.Path() + ": Is a directory\n");
}

TEST(UsbDrvGen, GeneratesIntoANewDirectoryWithItsParents) {
    for (const bool quiet : {false, true}) {
        testing::RecordingPlatform platform;
        platform.directories = {"/work"};
        std::vector<std::string> args{"--kind", "ferrolink", "--out", "/work/a/b"};
        if (quiet) args.push_back("--quiet");
        const Outcome run = RunWith(platform, args);
        EXPECT_EQ(run.status, kExitWritten) << run.errors;
        EXPECT_EQ(run.errors, "");
        EXPECT_EQ(run.out, quiet ? "" : "Files Successfully Generated\n");
        ASSERT_GE(platform.events.size(), 2u);
        EXPECT_EQ(platform.events[0], "mkdir /work/a");
        EXPECT_EQ(platform.events[1], "mkdir /work/a/b");

        WizardSettings expected;
        ApplyPackageDefaults(expected, Package::Ferrolink, platform.WindowsDirectory());
        expected.GenerationDirectory = "/work/a/b/";
        EXPECT_EQ(platform.WrittenPaths(),
                  BuildPackageContents(expected, EmbeddedPayloads()).FilePaths());
        EXPECT_EQ(platform.WrittenPaths().size(), 9u);
    }
}

// A failure before the commit leaves the folder as it was: nothing of the run, and no
// directory it made.
TEST(UsbDrvGen, AFailedFileStopsGenerationAndIsNamed) {
    testing::RecordingPlatform platform;
    platform.directories = {"/o"};
    platform.failingWrites = {"/o/new/tarnser.sys"};
    const Outcome run = RunWith(platform, {"--kind", "com", "--out", "/o/new"});
    EXPECT_EQ(run.status, kExitGenerationFailed);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.errors,
              "Error: Could Not Open File For Write.\n"
              "Error: Could Not Generate All Files.\n"
              "usbdrvgen: /o/new/tarnser.sys: refused by the test\n");
    EXPECT_EQ(platform.writeAttempts.size(), 12u);  // 4 INF, 3 configuration files, 5 drivers
    EXPECT_TRUE(platform.WrittenPaths().empty());
    EXPECT_TRUE(platform.staged.empty());
    EXPECT_EQ(platform.directories, std::set<std::string>{"/o"});
}

// A `--catalog` run plans the package once and renders each generated text once.
TEST(UsbDrvGen, OnePlanAndOneRenderingPerRun) {
    testing::RecordingPlatform platform;
    const std::size_t plans = PlansMadeSoFar();
    const std::size_t renders = TextsRenderedSoFar();
    const Outcome run = RunWith(platform, {"--kind", "com", "--out", "/o", "--catalog"});
    EXPECT_EQ(run.status, kExitWritten) << run.errors;
    EXPECT_EQ(PlansMadeSoFar() - plans, 1u);
    EXPECT_EQ(TextsRenderedSoFar() - renders, 7u);
    EXPECT_EQ(platform.WrittenPaths().size(), 22u);
}

// A key refused on its thread, a failure and an exception all leave the folders as they were,
// each with one line.
TEST(UsbDrvGen, WhatAFailedRunLeavesBehind) {
    // A platform that fails in a way no file call answers.
    class Throwing final : public testing::RecordingPlatform {
        Staging StageFile(const std::string& path, std::string_view bytes) override {
            if (path.ends_with(".cat")) throw std::runtime_error("the disk caught fire");
            return RecordingPlatform::StageFile(path, bytes);
        }
    };
    struct Case {
        std::vector<std::string> args;
        std::map<std::string, std::string> environment;
        int status;
        std::string errors;
    };
    const Case cases[] = {
        {{"--sign-pfx", "/nonexistent/maker.pfx"},
         {},
         kExitRefused,
         "usbdrvgen: --sign-pfx: /nonexistent/maker.pfx: No such file or directory\n"},
        {{"--sign-pfx", "/dev/null", "--sign-password-env", "PASSWORD"},
         {},
         kExitRefused,
         "usbdrvgen: --sign-password-env: PASSWORD is not set\n"},
        {{},
         {{"SOURCE_DATE_EPOCH", "soon"}},
         kExitRefused,
         "usbdrvgen: SOURCE_DATE_EPOCH: expected seconds from 1970 to 2049, not 'soon'\n"},
        {{"--test-certificate", "/w/certs"},
         {},
         kExitGenerationFailed,
         "usbdrvgen: the disk caught fire\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        Throwing platform;
        platform.directories = {"/w"};
        std::vector<std::string> args{"--kind", "com", "--out", "/w/pkg", "--catalog"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Outcome run = RunWith(platform, args, c.environment);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.errors, c.errors);
        EXPECT_TRUE(platform.WrittenPaths().empty());
        EXPECT_TRUE(platform.staged.empty());
        EXPECT_EQ(platform.directories, std::set<std::string>{"/w"});
    }
}

// An exception where the key is loaded (here reading its password) reaches the barrier: one
// line, exit 1, the folders as they were.
TEST(UsbDrvGen, AnExceptionWhileTheKeyLoadsIsOneLine) {
    testing::RecordingPlatform platform;
    platform.directories = {"/w"};
    testing::TestRunContext run;
    run.in.exceptions(std::ios::failbit);
    const std::vector<std::string> args{
        "--kind",    "com",        "--out",     "/w/pkg",
        "--catalog", "--sign-pfx", "/dev/null", "--sign-password-stdin"};
    EXPECT_EQ(RunUsbDrvGen(args, platform, EmbeddedPayloads(), run.Context()),
              kExitGenerationFailed);
    const std::vector<std::string> lines = Lines(run.errors.str());
    ASSERT_EQ(lines.size(), 1u) << run.errors.str();
    EXPECT_TRUE(lines[0].starts_with("usbdrvgen: ")) << lines[0];
    EXPECT_TRUE(platform.WrittenPaths().empty());
    EXPECT_TRUE(platform.staged.empty());
    EXPECT_EQ(platform.directories, std::set<std::string>{"/w"});
}

TEST(UsbDrvGen, AnUncreatableDirectoryIsReported) {
    testing::RecordingPlatform platform;
    platform.files["/o"] = "a file where a directory should be";
    const Outcome run = RunWith(platform, {"--kind", "com", "--out", "/o/pkg"});
    EXPECT_EQ(run.status, kExitGenerationFailed);
    const std::vector<std::string> lines = Lines(run.errors);
    ASSERT_EQ(lines.size(), 2u) << run.errors;
    EXPECT_EQ(lines[0], "Error: Could Not Create Directory.");
    EXPECT_TRUE(lines[1].starts_with("usbdrvgen: /o/pkg: cannot create directory: ")) << lines[1];
    EXPECT_TRUE(platform.writeAttempts.empty());
}

TEST(UsbDrvGen, ListNamesEveryFileAndWritesNothing) {
    testing::RecordingPlatform platform;
    const Outcome run =
        RunWith(platform, {"--kind", "com", "--out", "/new/pkg", "--no-preinstaller",
                           "--uninstall-name", "acmeun", "--list"});
    EXPECT_EQ(run.status, kExitWritten);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines.front(), "/new/pkg/tarnbus.inf");
    EXPECT_EQ(lines[4], "/new/pkg/acmeun.u98");
    EXPECT_EQ(lines.back(), "/new/pkg/acmeun2k.exe");
    EXPECT_TRUE(platform.events.empty());
}

TEST(UsbDrvGen, SummaryShowsTheTwentyLinesSideBySide) {
    testing::RecordingPlatform platform;
    const Outcome com = RunWith(platform, {"--kind", "com", "--out", "/o", "--summary"});
    EXPECT_EQ(com.status, kExitWritten);
    const std::vector<std::string> c = Lines(com.out);
    ASSERT_EQ(c.size(), 20u);
    EXPECT_EQ(c[0], "* Uninstall INI File Name: tarnunin.u98, tarnunin.u2k");
    EXPECT_EQ(c[1], "* INF File Names:          tarnxxxx.inf");
    EXPECT_EQ(c[2], "");
    EXPECT_EQ(c[19], "*Generation Directory:     /o/");

    const Outcome ferrolink = RunWith(platform, {"--kind", "ferrolink", "--out", "/o", "--summary",
                                                 "--no-preinstaller", "--sys-name", "acme"});
    const std::vector<std::string> f = Lines(ferrolink.out);
    ASSERT_EQ(f.size(), 20u);
    EXPECT_EQ(f[2], "* Driver File Name:        acme.sys");
    EXPECT_EQ(f[12], "*Use Preinstaller?         No");
    EXPECT_EQ(f[15], "*Target Directory:         -");
    EXPECT_TRUE(platform.events.empty());
}

TEST(UsbDrvGen, DumpNeedsNoOutputDirectoryAndNotesOne) {
    testing::RecordingPlatform platform;
    const Outcome plain = RunWith(platform, {"--kind", "ferrolink", "--dump-settings"});
    EXPECT_EQ(plain.status, kExitWritten);
    EXPECT_TRUE(plain.out.find("\nPackageKind = 2\n") != std::string::npos) << plain.out;
    EXPECT_EQ(plain.out.find("--out /"), std::string::npos);

    const Outcome noted =
        RunWith(platform, {"--kind", "ferrolink", "--dump-settings", "--out", "/o"});
    EXPECT_TRUE(noted.out.ends_with("\n# --out /o\n")) << noted.out;
}

TEST(UsbDrvGen, AnUnwritableStandardOutputIsAFailure) {
    testing::RecordingPlatform platform;
    testing::TestRunContext run;
    run.out.setstate(std::ios::badbit);
    const std::vector<std::string> args{"--kind", "com", "--out", "/o", "--list"};
    EXPECT_EQ(RunUsbDrvGen(args, platform, EmbeddedPayloads(), run.Context()),
              kExitGenerationFailed);
    EXPECT_EQ(run.errors.str(), "usbdrvgen: cannot write to standard output\n");
}

TEST(UsbDrvGen, HelpAndVersion) {
    testing::RecordingPlatform platform;
    const Outcome usage = RunWith(platform, {"--kind", "com", "--help"});
    EXPECT_EQ(usage.status, kExitWritten);
    EXPECT_TRUE(usage.out.starts_with("Usage: usbdrvgen --kind com|ferrolink --out DIR"));
    const Outcome version = RunWith(platform, {"--version"});
    EXPECT_TRUE(version.out.starts_with("usbdrvgen ") && version.out.size() > 11) << version.out;
}

}  // namespace
}  // namespace usbwiz
