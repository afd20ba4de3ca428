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
    if (!std::filesystem::exists(USBDRVGEN_WINDOWS_PROGRAM))
        GTEST_SKIP() << USBDRVGEN_WINDOWS_PROGRAM << " is not built (cmake --preset windows)";

    for (const auto& [kind, kindArg, files] : {std::tuple{kComPortPackage, "com", 20u},
                                               std::tuple{kFerrolinkPackage, "ferrolink", 9u}}) {
        const testing::TempDirectory parent;
        const std::string out = parent.Path() + "new/pkg";
        const testing::ProgramRun run =
            RunUnderWine({"--kind", kindArg, "--out", WinePath(out), "--vid", "4e2b"});
        ASSERT_EQ(run.status, 0) << kindArg << ": " << run.errors;
        EXPECT_EQ(run.out, "Files Successfully Generated\r\n") << kindArg;

        PosixPlatform platform;
        WizardSettings expected;
        ApplyPackageDefaults(expected, kind, platform);
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
    if (!std::filesystem::exists(USBDRVGEN_WINDOWS_PROGRAM))
        GTEST_SKIP() << USBDRVGEN_WINDOWS_PROGRAM << " is not built (cmake --preset windows)";

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

}  // namespace
}  // namespace usbwiz
