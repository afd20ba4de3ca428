#include <gtest/gtest.h>

#include "settings/InputRules.h"
#include "settings/NameRules.h"
#include "settings/WizardSettings.h"

namespace usbwiz {
namespace {

TEST(InputRules, HexText) {
    struct Case {
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {"", true},       {"4E2B", true},  {"1", true},     {"0123456789ABCDEF", true},
        {"4E2G", false},  {"ab12", false}, {"C73G", false}, {" 4E2", false},
        {"4E2B ", false}, {"XYZ", false},  {"-1", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsHexText(c.text), c.ok) << '"' << c.text << '"';
}

TEST(InputRules, PathText) {
    struct Case {
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Vexmor", true},
        {"C:Temp", false},
        {"C:\\a:\\b", true},
        {"C:\\dir:", false},
        {"   ", false},
        {"", false},
        {" \t\r\n\v\f", false},
        {"  C:\\Out  ", true},
        {"Out", true},
        {"C:\\Out\\", true},
        {"\\", true},
        {"C:\\Ou*t", false},
        {"C:\\Ou?t", false},
        {"C:\\Ou\"t", false},
        {"C:\\Ou<t", false},
        {"C:\\Ou>t", false},
        {"C:\\Ou|t", false},
        {"C:/Out", false},
        {"C:\\dir:  ", false},  // trimmed first, so the colon is last
        {"x:\\", true},
        {":\\", true},
    };
    for (const Case& c : cases) EXPECT_EQ(IsValidPathText(c.text), c.ok) << '"' << c.text << '"';
}

TEST(InputRules, OnlyEmptyIsBlank) {
    EXPECT_TRUE(IsBlank(""));
    EXPECT_FALSE(IsBlank(" "));
    EXPECT_FALSE(IsBlank("\t"));
}

// Each name rule where it applies and where it must not, by kind (1 COM port, 2 Ferrolink).
TEST(NameRules, RefuseWhatCannotStandWhereTheFieldLands) {
    struct Case {
        std::uint8_t kind;
        const char* field;
        const char* text;
        const char* refusal;  // nullptr: accepted
        unsigned codePage = 1252;
    };
    constexpr const char* kFileName = "Windows file names cannot hold it)";
    constexpr const char* kDropped = "(Setup drops it when it reads the INF file)";
    const Case cases[] = {
        {1, "UninstallName", "../x", "'/' is not allowed ("},
        {1, "UninstallName", "a\\b", kFileName},
        {2, "InfName", "a:b", kFileName},
        {1, "InfPrefix", "a|b", kFileName},
        {1, "UninstallName", "a,b", "',' is not allowed (it separates the values of an INF line)"},
        {2, "SysName", "a;b", "';' is not allowed (it starts a comment in an INF file)"},
        {1, "InfPrefix", "%a%", "'%' is not allowed (Setup reads %...% as the name of a string)"},
        {1, "LongName", "100%", "'%'"},
        {2, "UsbDeviceName", "a\"b", "'\"' is not allowed (it starts or ends a quoted INF string)"},
        {2, "SysName", "a=b",
         "'=' is not allowed (it separates an INF entry's name from its value)"},
        {2, "ShortName", "a]b", "']' is not allowed (it ends an INF section name)"},
        {1, "UninstallName", "ab cd", "a blank is not allowed (it would split the uninstall"},
        {2, "ShortName", " ab", kDropped},
        {2, "InfName", "ab ", kDropped},
        {1, "UninstallName", "[x]", "'[' at the start is not allowed (Setup reads the line as"},
        {2, "ShortName", "[x", nullptr},  // its section headers start with '[' anyway
        {1, "Vid", "\t", "control character U+0009 is not allowed"},
        {1, "TargetDirectory", "C:\\a\nb", "control character U+000A"},
        {1, "UninstallName", "con",
         "'con' is not allowed (Windows reserves the name for a device)"},
        {2, "InfName", "LPT9.x", "'LPT9'"},
        {2, "SysName", "Nul ", "'Nul'"},
        // Where the field does not land in that place, the character stays allowed.
        {1, "ShortName", "a,b;c]\"%", nullptr},  // lands in no file of the COM port package
        {1, "InfPrefix", "a=b ", nullptr},       // never starts an INF key nor ends a token
        {2, "SysName", "a b", nullptr},
        {1, "LongName", " M\xFCller (a,b; c=d) \\o/ ", nullptr},
        {1, "UninstallName", "1a.b-_&", nullptr},
        {1, "UninstallName", "COM10", nullptr},
        {2, "InfName", "console", nullptr},
        // The second byte of a double-byte character is not the ASCII character it resembles.
        {1, "UninstallName", "\x83\x5C\x83\x7C", nullptr, 932},
        {1, "UninstallName", "\x83\x5C", kFileName, 1252},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> refusal =
            FindUnsafeText(c.kind, c.field, c.text, c.codePage);
        const std::string where = std::string(c.field) + " '" + c.text + "'";
        if (c.refusal == nullptr) {
            EXPECT_EQ(refusal, std::nullopt) << where;
        } else {
            ASSERT_TRUE(refusal.has_value()) << where;
            EXPECT_NE(refusal->find(c.refusal), std::string::npos) << where << ": " << *refusal;
        }
    }
}

}  // namespace
}  // namespace usbwiz
