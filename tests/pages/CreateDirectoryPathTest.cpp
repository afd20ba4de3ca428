#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "pages/CreateDirectoryPath.h"
#include "tests/pages/WizardTestHarness.h"

namespace usbwiz {
namespace {

// Remembers the directories in the order they were made.
class CreationOrderPlatform : public testing::RecordingPlatform {
  public:
    std::vector<std::string> made;
    FileResult CreateOneDirectory(const std::string& path) override {
        FileResult created = RecordingPlatform::CreateOneDirectory(path);
        if (created) made.push_back(path.back() == '\\' ? path.substr(0, path.size() - 1) : path);
        return created;
    }
};

struct CreationCase {
    std::string name;
    friend std::ostream& operator<<(std::ostream& os, const CreationCase& c) {
        return os << c.name;
    }
    std::set<std::string> existing;
    std::string path;
    bool created;
    std::vector<std::string> newDirectories;  // in the order they were made
};

class CreateDirectoryPathTest : public ::testing::TestWithParam<CreationCase> {};

TEST_P(CreateDirectoryPathTest, CreatesMissingLevelsFromTheOutermostInwards) {
    const CreationCase& c = GetParam();
    CreationOrderPlatform platform;
    platform.directories = c.existing;

    EXPECT_EQ(CreateDirectoryPath(platform, c.path), c.created);
    EXPECT_EQ(platform.made, c.newDirectories);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, CreateDirectoryPathTest,
    ::testing::Values(CreationCase{"OneLevel", {"C:\\"}, "C:\\Out\\", true, {"C:\\Out"}},
                      CreationCase{"TwoLevelsBelowAnExistingOne",
                                   {"C:\\", "C:\\A"},
                                   "C:\\A\\B\\C\\",
                                   true,
                                   {"C:\\A\\B", "C:\\A\\B\\C"}},
                      CreationCase{"EverythingBelowTheRoot",
                                   {"C:\\"},
                                   "C:\\One\\Two\\Three\\",
                                   true,
                                   {"C:\\One", "C:\\One\\Two", "C:\\One\\Two\\Three"}},
                      CreationCase{"WithoutTrailingBackslash",
                                   {"C:\\"},
                                   "C:\\One\\Two",
                                   true,
                                   {"C:\\One", "C:\\One\\Two"}},
                      CreationCase{"MissingDrive", {"C:\\"}, "Q:\\New\\", false, {}},
                      CreationCase{
                          "MissingDriveSeveralLevels", {"C:\\"}, "Q:\\A\\B\\C\\", false, {}},
                      CreationCase{"AlreadyThere", {"C:\\", "C:\\Out"}, "C:\\Out\\", false, {}}),
    [](const ::testing::TestParamInfo<CreationCase>& info) { return info.param.name; });

// Retrying every prefix after every failure doubles the work with each level. A path of the
// longest length the field takes must still finish with a modest number of attempts.
class CountingPlatform : public testing::RecordingPlatform {
  public:
    std::size_t attempts = 0;
    FileResult CreateOneDirectory(const std::string& path) override {
        if (++attempts > kBudget) throw std::runtime_error("too many directory attempts");
        return RecordingPlatform::CreateOneDirectory(path);
    }
    static constexpr std::size_t kBudget = 100000;
};

std::string DeepPath(const std::string& root, int levels) {
    std::string path = root;
    for (int i = 0; i < levels; ++i) path += "d\\";
    return path;
}

TEST(CreateDirectoryPathDepthTest, DeepPathOnAMissingDriveFailsWithoutEndlessRetries) {
    CountingPlatform platform;
    platform.directories.insert("C:\\");
    const std::string path = DeepPath("Q:\\", 128);  // 259 characters
    EXPECT_FALSE(CreateDirectoryPath(platform, path));
    EXPECT_LT(platform.attempts, CountingPlatform::kBudget);
}

TEST(CreateDirectoryPathDepthTest, DeepPathBelowAnExistingDirectoryIsCreatedWhole) {
    CountingPlatform platform;
    platform.directories = {"C:\\", "C:\\d"};
    const std::string path = DeepPath("C:\\", 100);
    EXPECT_TRUE(CreateDirectoryPath(platform, path));
    EXPECT_EQ(platform.directories.size(), 101u);
    EXPECT_TRUE(platform.PathExists(path.substr(0, path.size() - 1)));
}

// A level that cannot be made for another reason than a missing parent (here: a file of that
// name stands in the way) ends in failure after the outer levels were made.
TEST(CreateDirectoryPathDepthTest, BlockedLevelFailsAndKeepsTheOuterLevels) {
    CountingPlatform platform;
    platform.directories.insert("C:\\");
    platform.files["C:\\A\\B"] = "";
    EXPECT_FALSE(CreateDirectoryPath(platform, "C:\\A\\B\\C\\"));
    EXPECT_EQ(platform.directories, (std::set<std::string>{"C:\\", "C:\\A"}));
    EXPECT_LT(platform.attempts, 50u);
}

// The recursion as plainly stated, without remembering failures: slow, but the reference for
// what the page's version must create and answer.
bool PlainCreateDirectoryPath(Platform& platform, const std::string& path) {
    if (platform.CreateOneDirectory(path)) return true;
    for (std::size_t i = path.size() >= 2 ? path.size() - 2 : 0; i >= 3; --i)
        if (path[i] == '\\' && PlainCreateDirectoryPath(platform, path.substr(0, i)) &&
            PlainCreateDirectoryPath(platform, path))
            return true;
    return false;
}

// Every tree of up to four levels, with any levels already there and any levels blocked by a
// file, on an existing and on a missing drive, with and without a trailing backslash.
TEST(CreateDirectoryPathDepthTest, SameOutcomeAsThePlainRecursion) {
    const std::vector<std::string> levels{"A", "B", "C", "D"};
    for (const std::string root : {"C:\\", "Q:\\"}) {
        for (unsigned existing = 0; existing < 16; ++existing) {
            for (unsigned blocked = 0; blocked < 16; ++blocked) {
                if ((existing & blocked) != 0) continue;
                for (bool trailing : {false, true}) {
                    testing::RecordingPlatform plain;
                    plain.directories.insert("C:\\");
                    std::string path = root;
                    for (std::size_t i = 0; i < levels.size(); ++i) {
                        path += levels[i];
                        if ((existing >> i) & 1u) plain.directories.insert(path);
                        if ((blocked >> i) & 1u) plain.files[path] = "";
                        if (i + 1 < levels.size()) path += '\\';
                    }
                    if (trailing) path += '\\';
                    testing::RecordingPlatform remembering = plain;

                    SCOPED_TRACE(path + " existing " + std::to_string(existing) + " blocked " +
                                 std::to_string(blocked));
                    EXPECT_EQ(CreateDirectoryPath(remembering, path),
                              PlainCreateDirectoryPath(plain, path));
                    EXPECT_EQ(remembering.directories, plain.directories);
                }
            }
        }
    }
}

}  // namespace
}  // namespace usbwiz
