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

WizardSettings Defaults(Package kind) {
    PosixPlatform platform;
    WizardSettings s;
    ApplyPackageDefaults(s, kind, platform.WindowsDirectory());
    return s;
}

struct PackageCase {
    const char* name;
    Package kind;
    std::vector<std::string> options;
    std::function<void(WizardSettings&)> sameAs;  // the record the options stand for
    std::size_t files;
};

const std::vector<PackageCase>& PackageCases() {
    static const std::vector<PackageCase> cases = {
        {"com", Package::ComPort, {}, [](WizardSettings&) {}, 20},
        {"com without preinstaller",
         Package::ComPort,
         {"--no-preinstaller"},
         SwitchOffPreinstaller,
         19},
        {"ferrolink", Package::Ferrolink, {}, [](WizardSettings&) {}, 9},
        {"ferrolink without preinstaller",
         Package::Ferrolink,
         {"--no-preinstaller"},
         SwitchOffPreinstaller,
         8},
        {"com, every option",
         Package::ComPort,
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
         Package::Ferrolink,
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

std::vector<std::string> KindArgs(Package kind) {
    return {"--kind", kind == Package::ComPort ? "com" : "ferrolink"};
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
    EXPECT_EQ(out.EntryNames(), std::vector<std::string>{"tarnser.sys"}) << "the obstacle alone";
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

// The folder and the streams as a pipeline meets them. DIR stands for a fresh folder.
TEST(UsbDrvGenProgram, FolderAndStreamEdges) {
    struct Case {
        const char* name;
        std::function<void(const std::string& dir)> before;
        std::vector<std::string> args;
        int status;
        std::string errors;   // exactly, after DIR is put in
        std::size_t entries;  // in DIR afterwards
    };
    const auto make = [](std::string_view command) {
        return [command](const std::string& dir) {
            ASSERT_EQ(std::system(("cd '" + dir + "' && " + std::string(command)).c_str()), 0);
        };
    };
    const Case cases[] = {
        {"dangling link",
         make("ln -s nowhere out"),
         {"--kind", "com", "--out", "DIR/out"},
         1,
         "Error: Could Not Create Directory.\nusbdrvgen: DIR/out: cannot create directory: No "
         "such file or directory\n",
         1},
        {"loop of links",
         make("ln -s a b && ln -s b a"),
         {"--kind", "com", "--out", "DIR/a"},
         1,
         "Error: Could Not Create Directory.\nusbdrvgen: DIR/a: cannot create directory: Too "
         "many levels of symbolic links\n",
         2},
        {"files of another run",
         make("mkdir pkg && touch pkg/old.txt pkg/PreInstaller.exe"),
         {"--kind", "com", "--out", "DIR/pkg", "--no-preinstaller", "--quiet"},
         0,
         "usbdrvgen: warning: 2 entries in DIR/pkg/ not part of this package, left as they are: "
         "PreInstaller.exe, old.txt\n",
         1},
        {"require empty",
         make(USBDRVGEN_PROGRAM " --kind com --out pkg --quiet"),
         {"--kind", "ferrolink", "--out", "DIR/pkg", "--require-empty"},
         2,
         "usbdrvgen: --out: DIR/pkg/ is not empty (PreInstaller.exe, setup.ini, tarnbus.inf, "
         "...)\n",
         1},
        {"CR line ends",
         make("printf '# acme\\rPid = C7A0\\rPackageKind = 1\\r' >s.txt"),
         {"--settings", "DIR/s.txt", "--summary", "--out", "DIR/pkg"},
         0,
         "",
         1},
    };
    for (const Case& c : cases) {
        const TempDirectory temp;
        const std::string dir = temp.Path().substr(0, temp.Path().size() - 1);
        c.before(dir);
        std::vector<std::string> args = c.args;
        for (std::string& arg : args)
            if (arg.starts_with("DIR")) arg.replace(0, 3, dir);
        const ProgramRun run = RunUsbDrvGen(args);
        std::string errors = c.errors;
        for (std::size_t at; (at = errors.find("DIR")) != std::string::npos;)
            errors.replace(at, 3, dir);
        EXPECT_EQ(run.status, c.status) << c.name << ": " << run.errors;
        EXPECT_EQ(run.errors, errors) << c.name;
        EXPECT_EQ(temp.EntryNames().size(), c.entries) << c.name;
        if (std::string_view(c.name) == "CR line ends") {
            EXPECT_NE(run.out.find("C7A0"), std::string::npos) << run.out;
        }
    }

    // The package is written, but nobody got to read that it was.
    const TempDirectory temp;
    const int raw = std::system((std::string(USBDRVGEN_PROGRAM) + " --kind com --out " +
                                 temp.Path() + "pkg 2>" + temp.Path() + "err >/dev/full")
                                    .c_str());
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    EXPECT_EQ(testing::ReadFileBytes(temp.Path() + "err"),
              "usbdrvgen: the package is written, but standard output could not be written\n");
}

}  // namespace
}  // namespace usbwiz
