// Runs the Windows build of usbdrvgen under Wine: same package as the core writes natively, with
// the payloads read from the program's resources and the output folder made with '\' paths.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/PosixPlatform.h"
#include "tests/cli/ProgramRun.h"

namespace usbwiz {
namespace {

// Wine maps the Linux root to Z:.
std::string WinePath(const std::string& linuxPath) {
    std::string path = "Z:" + linuxPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

testing::ProgramRun RunUnderWine(std::vector<std::string> args) {
    args.insert(args.begin(), {USBWIZ_WINE_SCRIPT, USBDRVGEN_WINDOWS_PROGRAM});
    return testing::RunProgram(args);
}

TEST(UsbDrvGenUnderWine, WritesTheCorePackageIntoANewFolder) {
    ASSERT_TRUE(std::filesystem::exists(USBDRVGEN_WINDOWS_PROGRAM))
        << USBDRVGEN_WINDOWS_PROGRAM << " is not built (cmake --preset windows)";

    for (const auto& [kind, kindArg, files] : {std::tuple{Package::ComPort, "com", 20u},
                                               std::tuple{Package::Ferrolink, "ferrolink", 9u}}) {
        const testing::TempDirectory parent;
        const std::string out = parent.Path() + "new/pkg";
        const testing::ProgramRun run =
            RunUnderWine({"--kind", kindArg, "--out", WinePath(out), "--vid", "4e2b"});
        ASSERT_EQ(run.status, 0) << kindArg << ": " << run.errors;
        EXPECT_EQ(run.out, "Files Successfully Generated\r\n") << kindArg;

        PosixPlatform platform;
        WizardSettings expected;
        ApplyPackageDefaults(expected, kind, platform.WindowsDirectory());
        const testing::TempDirectory coreOut;
        const std::map<std::string, std::string> core = testing::CorePackage(expected, coreOut);
        EXPECT_EQ(core.size(), files);

        std::map<std::string, std::string> written;
        for (const auto& entry : std::filesystem::directory_iterator(out))
            written[entry.path().filename().string()] =
                testing::ReadFileBytes(entry.path().string()).value_or("");
        EXPECT_EQ(written, core) << kindArg;
    }
}

TEST(UsbDrvGenUnderWine, ListsWindowsPathsAndRefusesLikeNatively) {
    ASSERT_TRUE(std::filesystem::exists(USBDRVGEN_WINDOWS_PROGRAM))
        << USBDRVGEN_WINDOWS_PROGRAM << " is not built (cmake --preset windows)";

    const testing::ProgramRun list =
        RunUnderWine({"--kind", "ferrolink", "--out", "C:/Out/pkg", "--list", "--no-preinstaller"});
    EXPECT_EQ(list.status, 0) << list.errors;
    EXPECT_TRUE(list.out.starts_with("C:\\Out\\pkg\\tnfrlnk.inf\r\n")) << list.out;

    const testing::ProgramRun refused =
        RunUnderWine({"--kind", "com", "--out", "C:\\Out", "--target-dir", "C:Temp"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.errors,
              "usbdrvgen: --target-dir: Directory cannot contain: / : * ? \" < > |\r\n");
}

// Arguments arrive as wide text on Windows and as UTF-8 here; both must reach the same bytes.
TEST(UsbDrvGenUnderWine, NonAsciiNamesGiveTheLinuxBuildsBytes) {
    ASSERT_TRUE(std::filesystem::exists(USBDRVGEN_WINDOWS_PROGRAM))
        << USBDRVGEN_WINDOWS_PROGRAM << " is not built (cmake --preset windows)";

    const std::vector<std::pair<int, std::vector<std::string>>> cases = {
        {0,
         {"--kind", "com", "--uninstall-name", "m\xC3\xBCnz", "--long-name",
          "M\xC3\xBCller & S\xC3\xB6hne \xE2\x82\xAC \xE2\x84\xA2"}},
        {0,
         {"--kind", "ferrolink", "--codepage", "1251", "--usb-device-name",
          "\xD0\x90\xD0\xBA\xD0\xBC\xD0\xB5 USB"}},
        {2, {"--kind", "ferrolink", "--usb-device-name", "\xD0\x90\xD0\xBA\xD0\xBC\xD0\xB5"}},
    };
    for (const auto& [status, args] : cases) {
        const testing::TempDirectory windows, linux;
        std::vector<std::string> windowsArgs = args, linuxArgs = args;
        windowsArgs.insert(windowsArgs.end(), {"--quiet", "--out", WinePath(windows.Path())});
        linuxArgs.insert(linuxArgs.end(), {"--quiet", "--out", linux.Path()});
        const testing::ProgramRun onWine = RunUnderWine(windowsArgs);
        linuxArgs.insert(linuxArgs.begin(), USBDRVGEN_PROGRAM);
        const testing::ProgramRun native = testing::RunProgram(linuxArgs);

        const std::string where = ::testing::PrintToString(args);
        EXPECT_EQ(native.status, status) << where << native.errors;
        EXPECT_EQ(onWine.status, status) << where << onWine.errors;
        EXPECT_EQ(testing::FilesIn(linux).empty(), status != 0) << where;
        std::string wineErrors = onWine.errors;
        for (std::size_t at; (at = wineErrors.find("\r\n")) != std::string::npos;)
            wineErrors.erase(at, 1);
        EXPECT_EQ(wineErrors, native.errors) << where;
        EXPECT_EQ(testing::FilesIn(windows), testing::FilesIn(linux)) << where;
    }
}

}  // namespace
}  // namespace usbwiz
