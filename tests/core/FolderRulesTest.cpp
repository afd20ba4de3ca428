// Folder names and lengths as Windows takes them, the rules both programs ask before they write.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "generate/StagedPathLength.h"
#include "platform/TemporaryName.h"
#include "settings/FolderRules.h"

namespace usbwiz {
namespace {

constexpr unsigned kWestern = 1252, kJapanese = 932;

TEST(FolderRules, LevelsWindowsCannotName) {
    struct Case {
        const char* folder;
        char separator;
        unsigned codePage;
        const char* refusal;  // nullptr: taken
    };
    const Case cases[] = {
        {"C:\\pkg\\out", '\\', kWestern, nullptr},
        {"..\\.\\pkg\\", '\\', kWestern, nullptr},
        {"C:\\pkg \\out", '\\', kWestern,
         "folder 'C:\\pkg ': a blank at the end is not allowed (Windows drops it from the name)"},
        {"C:\\a.\\b", '\\', kWestern,
         "folder 'C:\\a.': a dot at the end is not allowed (Windows drops it from the name)"},
        {" C:\\x", '\\', kWestern,
         "folder ' C:': a blank before the drive is not allowed (Windows then reads the path as a "
         "folder of the current one)"},
        {"C:\\x\\con.d\\y", '\\', kWestern,
         "folder 'C:\\x\\con.d': 'con' is not allowed (Windows reserves the name for a device)"},
        // A server and share are not folders of the package; what follows them is.
        {"\\\\srv.\\share \\pkg", '\\', kWestern, nullptr},
        {"\\\\srv\\share\\pk.", '\\', kWestern,
         "folder '\\\\srv\\share\\pk.': a dot at the end is not allowed (Windows drops it from "
         "the name)"},
        // 0x95 0x5C ('\\') is one character in code page 932: its second byte separates nothing.
        {"C:\\\x95\\CON\\pkg", '\\', kJapanese, nullptr},
        {"C:\\\x95\\CON\\pkg", '\\', kWestern,
         "folder 'C:\\\x95\\CON': 'CON' is not allowed (Windows reserves the name for a device)"},
        {"/tmp/w/pkg", '/', kUtf8CodePage, nullptr},
        {"/tmp/C:/pkg", '/', 65001,
         "folder '/tmp/C:': ':' is not allowed (Windows file names cannot hold it)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const std::optional<std::string> refusal =
            FindFolderRefusal(c.folder, c.separator, c.codePage);
        if (c.refusal == nullptr)
            EXPECT_EQ(refusal, std::nullopt);
        else
            EXPECT_EQ(refusal, std::optional<std::string>(c.refusal));
    }
}

TEST(FolderRules, LengthInWindowsCharacters) {
    EXPECT_EQ(WindowsLength("abc", kWestern), 3u);
    EXPECT_EQ(WindowsLength("\x95\\a", kJapanese), 2u);
    EXPECT_EQ(WindowsLength("\xC3\xA9", kUtf8CodePage), 1u);          // é
    EXPECT_EQ(WindowsLength("\xF0\x9F\x98\x80", kUtf8CodePage), 2u);  // a surrogate pair
    EXPECT_EQ(WindowsLength("\xFF\x61", kUtf8CodePage), 2u);          // not UTF-8: bytes
}

// A staged file's temporary name (16 characters) is longer than a short final name, so it sets
// the limit: a folder whose path leaves exactly room for it is taken, one character more is not.
// A '/' path is counted with the drive Windows would put in front.
TEST(FolderRules, TheLongestStagedPathDecides) {
    EXPECT_EQ(TemporaryFileName(0x12345), "~usbwiz-2345.tmp");
    const std::vector<std::string> names{"tarnbus.inf"};
    const std::string fits = "C:\\" + std::string(kLongestWindowsPath - 3 - 1 - 16, 'a');
    EXPECT_EQ(FindTooLongStagedPath(fits + "\\\\", names, '\\', kWestern), std::nullopt);
    const std::optional<std::string> over =
        FindTooLongStagedPath(fits + "a", names, '\\', kWestern);
    ASSERT_TRUE(over);
    EXPECT_NE(over->find("would have 260 characters, over Windows' limit of 259"),
              std::string::npos)
        << *over;
    const std::string posix = "/" + std::string(kLongestWindowsPath - 2 - 1 - 1 - 16, 'a');
    EXPECT_EQ(FindTooLongStagedPath(posix, names, '/', kUtf8CodePage), std::nullopt);
    const std::optional<std::string> posixOver =
        FindTooLongStagedPath(posix + "a", names, '/', kUtf8CodePage);
    ASSERT_TRUE(posixOver);
    EXPECT_NE(posixOver->find("260 characters with a drive in front"), std::string::npos)
        << *posixOver;
}

}  // namespace
}  // namespace usbwiz
