#include <gtest/gtest.h>

#include <set>

#include "cli/CreateOutputDirectory.h"
#include "cli/NativePath.h"
#include "tests/support/RecordingPlatform.h"

namespace usbwiz {
namespace {

TEST(NativePath, DirectoryLevels) {
    struct Case {
        const char* directory;
        char separator;
        std::vector<std::string> levels;
    };
    const Case cases[] = {
        {"/tmp/a/b", '/', {"/tmp", "/tmp/a", "/tmp/a/b"}},
        {"/tmp/a/b/", '/', {"/tmp", "/tmp/a", "/tmp/a/b"}},
        {"out/pkg", '/', {"out", "out/pkg"}},
        {"a//b", '/', {"a", "a//b"}},
        {"/", '/', {}},
        {"", '/', {}},
        {"C:\\A\\B\\C\\", '\\', {"C:\\A", "C:\\A\\B", "C:\\A\\B\\C"}},
        {"Z:\\tmp\\h2wine", '\\', {"Z:\\tmp", "Z:\\tmp\\h2wine"}},
        {"C:\\", '\\', {}},
        {"Q:\\New", '\\', {"Q:\\New"}},
        {"\\\\host\\share\\pkg\\x", '\\', {"\\\\host\\share\\pkg", "\\\\host\\share\\pkg\\x"}},
        {"\\\\host\\share\\", '\\', {}},
        {"\\Out\\New", '\\', {"\\Out", "\\Out\\New"}},
        // A backslash is an ordinary character in a POSIX name.
        {"/tmp/a\\b", '/', {"/tmp", "/tmp/a\\b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DirectoryLevels(c.directory, c.separator), c.levels) << c.directory;
}

TEST(NativePath, SeparatorHandling) {
    EXPECT_EQ(NativeDirectoryText("C:/Out/pkg", '\\'), "C:\\Out\\pkg");
    EXPECT_EQ(NativeDirectoryText("/tmp/a\\b", '/'), "/tmp/a\\b");
    EXPECT_EQ(AsWizardPath("/tmp/a:b", '/'), "\\tmp\\a:b");
    EXPECT_EQ(AsWizardPath("C:\\x/y", '\\'), "C:\\x/y");

    EXPECT_EQ(WithTrailingSeparator("/tmp/x", '/'), "/tmp/x/");
    EXPECT_EQ(WithTrailingSeparator("/tmp/x/", '/'), "/tmp/x/");
    EXPECT_EQ(WithTrailingSeparator("C:\\Out", '\\'), "C:\\Out\\");
    EXPECT_EQ(WithTrailingSeparator("C:\\Out\\", '\\'), "C:\\Out\\");
}

// The levels belong to the run: one that ends without its commit removes them, innermost first.
TEST(CreateOutputDirectory, CreatesMissingLevelsOutermostFirst) {
    testing::RecordingPlatform platform;
    platform.directories = {"C:\\", "C:\\A"};
    {
        StagedRun failed(platform);
        EXPECT_FALSE(CreateOutputDirectory(platform, failed, "C:\\A\\B\\C\\", '\\'));
    }
    EXPECT_EQ(platform.events, (std::vector<std::string>{"mkdir C:\\A\\B", "mkdir C:\\A\\B\\C",
                                                         "rmdir C:\\A\\B\\C", "rmdir C:\\A\\B"}));
    EXPECT_EQ(platform.directories, (std::set<std::string>{"C:\\", "C:\\A"}));

    StagedRun run(platform);
    EXPECT_FALSE(CreateOutputDirectory(platform, run, "C:\\A\\B\\C\\", '\\'));
    EXPECT_EQ(run.Commit(), std::nullopt);
    platform.events.clear();
    EXPECT_FALSE(CreateOutputDirectory(platform, run, "C:\\A\\B\\C\\", '\\'));
    EXPECT_TRUE(platform.events.empty()) << "nothing to create when it exists";
}

TEST(CreateOutputDirectory, StopsAtTheFirstLevelThatCannotBeMade) {
    testing::RecordingPlatform platform;  // no drive Q:
    StagedRun run(platform);
    const std::optional<DirectoryFailure> failed =
        CreateOutputDirectory(platform, run, "Q:\\New\\Sub\\", '\\');
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->path, "Q:\\New");
    EXPECT_EQ(failed->reason, "cannot create directory: no parent");
    EXPECT_EQ(platform.events, (std::vector<std::string>{"mkdir Q:\\New"}));
}

}  // namespace
}  // namespace usbwiz
