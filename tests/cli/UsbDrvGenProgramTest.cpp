// Runs the built usbdrvgen and holds what it writes against the core's own output.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform/PosixPlatform.h"
#include "tests/cli/ProgramRun.h"

namespace usbwiz {
namespace {

using testing::CorePackage;
using testing::FilesIn;
using testing::ProgramRun;
using testing::TempDirectory;

ProgramRun RunUsbDrvGen(std::vector<std::string> args) {
    args.insert(args.begin(), USBDRVGEN_PROGRAM);
    return testing::RunProgram(args);
}

WizardSettings Defaults(std::uint8_t kind) {
    PosixPlatform platform;
    WizardSettings s;
    ApplyPackageDefaults(s, kind, platform);
    return s;
}

struct PackageCase {
    const char* name;
    std::uint8_t kind;
    std::vector<std::string> options;
    std::function<void(WizardSettings&)> sameAs;  // the record the options stand for
    std::size_t files;
};

const std::vector<PackageCase>& PackageCases() {
    static const std::vector<PackageCase> cases = {
        {"com", 1, {}, [](WizardSettings&) {}, 20},
        {"com without preinstaller", 1, {"--no-preinstaller"}, SwitchOffPreinstaller, 19},
        {"ferrolink", 2, {}, [](WizardSettings&) {}, 9},
        {"ferrolink without preinstaller", 2, {"--no-preinstaller"}, SwitchOffPreinstaller, 8},
        {"com, every option",
         1,
         {"--uninstall-name",
          "acmeun",
          "--inf-prefix",
          "ac",
          "--short-name",
          "acme",
          "--long-name",
          "M\xC3\xBCller & S\xC3\xB6hne (Acme) 100",
          "--com-device-name",
          "Acme UART",
          "--usb-device-name",
          "Acme Composite",
          "--vid",
          "ab12",
          "--pid=0c7",
          "--target-dir",
          "  D:\\Acme Tools ",
          "--quiet-setup",
          "--skip-file-copy",
          "--quiet-uninstall",
          "--leave-files",
          "--certification",
          "plan"},
         [](WizardSettings& s) {
             s.UninstallName = "acmeun", s.InfPrefix = "ac", s.ShortName = "acme";
             s.LongName = "M\xFCller & S\xF6hne (Acme) 100", s.ComDeviceName = "Acme UART";
             s.UsbDeviceName = "Acme Composite", s.Vid = "AB12", s.Pid = "0C7";
             s.TargetDirectory = "  D:\\Acme Tools ";
             s.QuietSetup = 1, s.SkipFileCopy = 1, s.QuietUninstall = 1, s.LeaveFiles = 1;
             s.CertificationChoice = 1;
         },
         20},
        {"ferrolink, every option",
         2,
         {"--codepage",
          "1251",
          "--uninstall-name",
          "\xD0\xB0"
          "cmeun",
          "--inf-name",
          "acmeusb",
          "--sys-name",
          "acmedrv",
          "--short-name",
          "acme",
          "--long-name",
          "Acme",
          "--usb-device-name",
          "\xD0\x90"
          "cme Device",
          "--vid",
          "1234",
          "--pid",
          "fffe",
          "--quiet-uninstall",
          "--certification",
          "default"},
         [](WizardSettings& s) {
             s.UninstallName =
                 "\xE0"
                 "cmeun",
             s.InfName = "acmeusb", s.SysName = "acmedrv";
             s.ShortName = "acme", s.LongName = "Acme",
             s.UsbDeviceName =
                 "\xC0"
                 "cme Device";
             s.Vid = "1234", s.Pid = "FFFE", s.QuietUninstall = 1;
             s.CertificationChoice = 1, s.DefaultCatalogFiles = 1;
         },
         9},
    };
    return cases;
}

std::vector<std::string> KindArgs(std::uint8_t kind) {
    return {"--kind", kind == kComPortPackage ? "com" : "ferrolink"};
}

TEST(UsbDrvGenProgram, WritesExactlyWhatTheCoreWrites) {
    for (const PackageCase& c : PackageCases()) {
        const TempDirectory parent;
        const std::string out = parent.Path() + "new/pkg";  // two levels that do not exist yet
        std::vector<std::string> args = KindArgs(c.kind);
        args.insert(args.end(), {"--out", out});
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ProgramRun run = RunUsbDrvGen(args);
        ASSERT_EQ(run.status, 0) << c.name << ": " << run.errors;
        EXPECT_EQ(run.out, "Files Successfully Generated\n") << c.name;
        EXPECT_EQ(run.errors, "") << c.name;

        WizardSettings expected = Defaults(c.kind);
        c.sameAs(expected);
        const TempDirectory coreOut;
        const std::map<std::string, std::string> core = CorePackage(expected, coreOut);
        EXPECT_EQ(core.size(), c.files) << c.name;

        // File names are UTF-8 here; what the files hold is in the package's code page.
        std::map<std::string, std::string> written;
        for (const auto& entry : std::filesystem::directory_iterator(out)) {
            std::string name = entry.path().filename().string();
            if (name.starts_with("\xD0\xB0")) name.replace(0, 2, "\xE0");
            written[name] = testing::ReadFileBytes(entry.path().string()).value_or("");
        }
        EXPECT_EQ(written, core) << c.name;
    }
}

TEST(UsbDrvGenProgram, DumpedSettingsReplayToTheSamePackage) {
    for (const PackageCase& c : PackageCases()) {
        const TempDirectory direct, replayed, dumpFolder;
        std::vector<std::string> args = KindArgs(c.kind);
        args.insert(args.end(), c.options.begin(), c.options.end());

        std::vector<std::string> dump = args;
        dump.push_back("--dump-settings");
        const ProgramRun dumped = RunUsbDrvGen(dump);
        ASSERT_EQ(dumped.status, 0) << c.name << ": " << dumped.errors;
        const std::string file = dumpFolder.Path() + "settings.txt";
        ASSERT_TRUE(testing::WriteFileBytes(file, dumped.out));

        args.insert(args.end(), {"--out", direct.Path(), "--quiet"});
        ASSERT_EQ(RunUsbDrvGen(args).status, 0) << c.name;
        const ProgramRun replay =
            RunUsbDrvGen({"--settings", file, "--out", replayed.Path(), "--quiet"});
        ASSERT_EQ(replay.status, 0) << c.name << ": " << replay.errors;
        EXPECT_EQ(replay.out, "") << c.name;

        EXPECT_EQ(FilesIn(replayed), FilesIn(direct)) << c.name;
        EXPECT_EQ(FilesIn(direct).size(), c.files) << c.name;
    }
}

TEST(UsbDrvGenProgram, FailureNamesThePathAndTheSystemsReason) {
    const TempDirectory out;
    // A directory where a driver file should go: the open fails for a reason the system gives.
    std::filesystem::create_directory(out.Path() + "tarnser.sys");
    const ProgramRun run = RunUsbDrvGen({"--kind", "com", "--out", out.Path()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.errors,
              "Error: Could Not Open File For Write.\n"
              "Error: Could Not Generate All Files.\n"
              "usbdrvgen: " +
                  out.Path() + "tarnser.sys: cannot open for writing: Is a directory\n");
    EXPECT_EQ(out.EntryNames().size(), 12u) << "seven text files, four drivers and the obstacle";
}

TEST(UsbDrvGenProgram, AnOutputDirectoryUnderAFileCannotBeCreated) {
    const TempDirectory parent;
    ASSERT_TRUE(testing::WriteFileBytes(parent.Path() + "plain", "not a directory"));
    const ProgramRun run = RunUsbDrvGen({"--kind", "com", "--out", parent.Path() + "plain/pkg"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, "Error: Could Not Create Directory.\nusbdrvgen: " + parent.Path() +
                              "plain/pkg: cannot create directory: Not a directory\n");
}

TEST(UsbDrvGenProgram, RefusedInputCreatesNothing) {
    const TempDirectory parent;
    const std::string out = parent.Path() + "pkg";
    const ProgramRun run =
        RunUsbDrvGen({"--kind", "com", "--out", out, "--long-name", "two\nlines"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors,
              "usbdrvgen: --long-name: control character U+000A is not allowed (a line "
              "break would corrupt the generated files)\n");
    EXPECT_TRUE(parent.EntryNames().empty());
}

}  // namespace
}  // namespace usbwiz
