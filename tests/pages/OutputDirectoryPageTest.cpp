#include <gtest/gtest.h>

#include <ostream>

#include "settings/InputRules.h"
#include "tests/pages/WizardTestHarness.h"

namespace usbwiz::testing {
namespace {

using P = PageId;

const ShownMessage kQuestion{P::OutputDirectory,
                             "Directory does not exist, do you want to create it?",
                             MessageIcon::Question, MessageButtons::YesNo};
const ShownMessage kCreateFailed{P::OutputDirectory, "Error: Could Not Create Directory.",
                                 MessageIcon::Warning, MessageButtons::Ok};
const ShownMessage kBadDirectory{P::OutputDirectory, std::string(kInvalidDirectoryMessage),
                                 MessageIcon::None, MessageButtons::Ok};

ShownMessage Refusal(const std::string& why) {
    return {P::OutputDirectory, "Directory: " + why + ".", MessageIcon::None, MessageButtons::Ok};
}

struct NextCase {
    std::string name;
    friend std::ostream& operator<<(std::ostream& os, const NextCase& c) { return os << c.name; }
    std::set<std::string> existing;  // besides the C: root
    std::set<std::string> files;     // plain files that stand at a path
    std::string typed;
    std::deque<MessageAnswer> answers;
    std::vector<ShownMessage> messages;
    std::optional<std::string> stored;  // nullopt: the page stays
    std::string editAtEnd;              // when the page stays
    std::set<std::string> created;
};

class OutputDirectoryNextTest : public WizardTest,
                                public ::testing::WithParamInterface<NextCase> {};

TEST_P(OutputDirectoryNextTest, StoresAnExistingOrCreatedDirectoryWithOneTrailingBackslash) {
    const NextCase& c = GetParam();
    platform.directories = {"C:\\"};
    platform.directories.insert(c.existing.begin(), c.existing.end());
    for (const std::string& file : c.files) platform.files[file] = "";
    const std::set<std::string> before = platform.directories;

    const ScriptedPageRunner runner =
        RunPage(P::OutputDirectory, Defaults(Package::ComPort),
                Then(Retype(kOutputDirectoryEdit, c.typed), {Click(kNextButton)}), c.answers);

    EXPECT_EQ(runner.Messages(), c.messages);
    const PageVisit& visit = runner.LastVisit();
    if (c.stored) {
        EXPECT_EQ(visit.next, P::Summary);
        EXPECT_EQ(visit.settingsAtEnd.GenerationDirectory, *c.stored);
    } else {
        EXPECT_TRUE(visit.leftOpenByScript);
        EXPECT_EQ(TextAtEnd(visit, kOutputDirectoryEdit), c.editAtEnd);
        // A refused or uncreatable folder is selected for retyping; No leaves the focus alone.
        EXPECT_EQ(visit.focusAtEnd,
                  c.messages.back() == kQuestion ? kNextButton : kOutputDirectoryEdit);
        EXPECT_EQ(visit.settingsAtEnd.GenerationDirectory,
                  Defaults(Package::ComPort).GenerationDirectory);
    }
    std::set<std::string> created;
    for (const std::string& directory : platform.directories)
        if (before.count(directory) == 0) created.insert(directory);
    EXPECT_EQ(created, c.created);
    EXPECT_TRUE(platform.writeAttempts.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, OutputDirectoryNextTest,
    ::testing::Values(
        NextCase{"Existing", {"C:\\Out"}, {}, "C:\\Out", {}, {}, "C:\\Out\\", "", {}},
        NextCase{
            "ExistingWithBackslash", {"C:\\Out"}, {}, "C:\\Out\\", {}, {}, "C:\\Out\\", "", {}},
        NextCase{"MissingCreatedOnYes",
                 {},
                 {},
                 "C:\\New",
                 {MessageAnswer::Yes},
                 {kQuestion},
                 "C:\\New\\",
                 "",
                 {"C:\\New"}},
        NextCase{"NestedLevelsCreated",
                 {"C:\\A"},
                 {},
                 "C:\\A\\B\\C\\",
                 {MessageAnswer::Yes},
                 {kQuestion},
                 "C:\\A\\B\\C\\",
                 "",
                 {"C:\\A\\B", "C:\\A\\B\\C"}},
        NextCase{"MissingKeptOnNo",
                 {},
                 {},
                 "C:\\New",
                 {MessageAnswer::No},
                 {kQuestion},
                 std::nullopt,
                 "C:\\New",
                 {}},
        NextCase{"MissingDriveFails",
                 {},
                 {},
                 "Q:\\New",
                 {MessageAnswer::Yes},
                 {kQuestion, kCreateFailed},
                 std::nullopt,
                 "Q:\\New\\",
                 {}},
        NextCase{"FileCountsAsExisting",
                 {},
                 {"C:\\file.txt"},
                 "C:\\file.txt",
                 {},
                 {},
                 "C:\\file.txt\\",
                 "",
                 {}},
        NextCase{"InnerBlanksKept", {"C:\\ O ut"}, {}, "C:\\ O ut", {}, {}, "C:\\ O ut\\", "", {}},
        NextCase{"BlankAtTheEnd",
                 {"C:\\Out"},
                 {},
                 "C:\\Out \\x",
                 {},
                 {Refusal("folder 'C:\\Out ': a blank at the end is not allowed (Windows drops "
                          "it from the name)")},
                 std::nullopt,
                 "C:\\Out \\x",
                 {}},
        NextCase{"BlankBeforeTheDrive",
                 {"C:\\Out"},
                 {},
                 " C:\\Out",
                 {},
                 {Refusal("folder ' C:': a blank before the drive is not allowed (Windows then "
                          "reads the path as a folder of the current one)")},
                 std::nullopt,
                 " C:\\Out",
                 {}},
        NextCase{"Relative", {"Out"}, {}, "Out", {}, {}, "Out\\", "", {}},
        NextCase{"ForbiddenCharacter",
                 {},
                 {},
                 "C:\\a|b",
                 {},
                 {kBadDirectory},
                 std::nullopt,
                 "C:\\a|b",
                 {}},
        NextCase{"OnlySpaces", {}, {}, "   ", {}, {kBadDirectory}, std::nullopt, "   ", {}},
        NextCase{"Empty", {}, {}, "", {}, {kBadDirectory}, std::nullopt, "", {}}),
    [](const ::testing::TestParamInfo<NextCase>& info) { return info.param.name; });

struct BackCase {
    std::string name;
    friend std::ostream& operator<<(std::ostream& os, const BackCase& c) { return os << c.name; }
    std::string typed;
    std::string stored;
};

class OutputDirectoryBackTest : public WizardTest,
                                public ::testing::WithParamInterface<BackCase> {};

// Back checks nothing and asks nothing, but still stores the text with a trailing backslash.
TEST_P(OutputDirectoryBackTest, StoresTheTextWithATrailingBackslash) {
    const BackCase& c = GetParam();
    const ScriptedPageRunner runner =
        RunPage(P::OutputDirectory, Defaults(Package::Ferrolink),
                Then(Retype(kOutputDirectoryEdit, c.typed), {Click(kBackButton)}));
    EXPECT_TRUE(runner.Messages().empty());
    const PageVisit& visit = runner.LastVisit();
    EXPECT_EQ(visit.next, P::Options);
    EXPECT_EQ(visit.settingsAtEnd.GenerationDirectory, c.stored);
    EXPECT_EQ(TextAtEnd(visit, kOutputDirectoryEdit), c.stored);
    EXPECT_TRUE(platform.events.empty());
}

INSTANTIATE_TEST_SUITE_P(Texts, OutputDirectoryBackTest,
                         ::testing::Values(BackCase{"Empty", "", "\\"},
                                           BackCase{"Plain", "C:\\Out", "C:\\Out\\"},
                                           BackCase{"AlreadyEnded", "C:\\Out\\", "C:\\Out\\"},
                                           BackCase{"Unchecked", "C:\\a|b", "C:\\a|b\\"}),
                         [](const ::testing::TestParamInfo<BackCase>& info) {
                             return info.param.name;
                         });

TEST_F(WizardTest, OutputDirectoryShowsWhatWasStoredWhenReachedAgain) {
    const ScriptedPageRunner runner =
        RunWizard(Then(Then(ToOptions(Package::ComPort),
                            Then(PastOptions(Package::ComPort), {Clear(kOutputDirectoryEdit)})),
                       {Click(kBackButton), Click(kNextButton)}));
    const std::vector<PageVisit>& visits = runner.Visits();
    ASSERT_EQ(visits.back().page, P::OutputDirectory);
    // First arrival: the kind's default, without a trailing backslash.
    EXPECT_EQ(TextAtOpen(visits[visits.size() - 3], kOutputDirectoryEdit),
              "C:\\Vexmor\\MCU\\CustomKR550xDriverInstall");
    EXPECT_EQ(TextAtOpen(visits.back(), kOutputDirectoryEdit), "\\");
}

struct BrowseCase {
    std::string name;
    friend std::ostream& operator<<(std::ostream& os, const BrowseCase& c) { return os << c.name; }
    std::optional<std::string> chosen;
    std::string shown;
    bool notInCodePage = false;  // the folder chosen has a name the code page cannot write
    std::vector<ShownMessage> messages = {};
};

class BrowseTest : public WizardTest, public ::testing::WithParamInterface<BrowseCase> {};

TEST_P(BrowseTest, ChosenFolderReplacesTheTextAndCancelKeepsIt) {
    platform.browsedFolder = {GetParam().chosen, GetParam().notInCodePage};
    const ScriptedPageRunner runner =
        RunPage(P::OutputDirectory, Defaults(Package::ComPort),
                Then(Retype(kOutputDirectoryEdit, "D:\\Typed"), {Click(kBrowseButton)}));
    const PageVisit& visit = runner.LastVisit();
    EXPECT_TRUE(visit.leftOpenByScript);
    EXPECT_EQ(TextAtEnd(visit, kOutputDirectoryEdit), GetParam().shown);
    EXPECT_EQ(platform.events,
              std::vector<std::string>{"browse Select a Folder to Generate Your Setup Files In:"});
    EXPECT_EQ(platform.browseOwners, std::vector<WindowRef>{ScriptedWindowOf(P::OutputDirectory)});
    EXPECT_EQ(runner.Messages(), GetParam().messages);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, BrowseTest,
    ::testing::Values(BrowseCase{"Cancelled", std::nullopt, "D:\\Typed"},
                      BrowseCase{"Chosen", "E:\\Picked", "E:\\Picked"},
                      BrowseCase{"DriveRoot", "E:\\", "E:\\"},
                      BrowseCase{"NotInCodePage",
                                 std::nullopt,
                                 "D:\\Typed",
                                 true,
                                 {{P::OutputDirectory,
                                   "The chosen folder's name cannot be written in this system's "
                                   "code page (1252). Choose or type another folder.",
                                   MessageIcon::None, MessageButtons::Ok}}}),
    [](const ::testing::TestParamInfo<BrowseCase>& info) { return info.param.name; });

}  // namespace
}  // namespace usbwiz::testing
