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
        Package kind;
        const char* field;
        const char* text;
        const char* refusal;  // nullptr: accepted
        unsigned codePage = 1252;
    };
    constexpr const char* kFileName = "Windows file names cannot hold it)";
    constexpr const char* kDropped = "(Setup drops it when it reads the INF file)";
    const Case cases[] = {
        {Package::ComPort, "UninstallName", "../x", "'/' is not allowed ("},
        {Package::ComPort, "UninstallName", "a\\b", kFileName},
        {Package::Ferrolink, "InfName", "a:b", kFileName},
        {Package::ComPort, "InfPrefix", "a|b", kFileName},
        {Package::ComPort, "UninstallName", "a,b",
         "',' is not allowed (it separates the values of an INF line)"},
        {Package::Ferrolink, "SysName", "a;b",
         "';' is not allowed (it starts a comment in an INF file)"},
        {Package::ComPort, "InfPrefix", "%a%",
         "'%' is not allowed (Setup reads %...% as the name of a string)"},
        {Package::ComPort, "LongName", "100%", "'%'"},
        {Package::Ferrolink, "UsbDeviceName", "a\"b",
         "'\"' is not allowed (it starts or ends a quoted INF string)"},
        {Package::Ferrolink, "SysName", "a=b",
         "'=' is not allowed (it separates an INF entry's name from its value)"},
        {Package::Ferrolink, "ShortName", "a]b",
         "']' is not allowed (it ends an INF section name)"},
        {Package::ComPort, "UninstallName", "ab cd",
         "a blank is not allowed (it would split the uninstall"},
        {Package::Ferrolink, "ShortName", " ab", kDropped},
        {Package::Ferrolink, "InfName", "ab ", kDropped},
        {Package::ComPort, "UninstallName", "[x]",
         "'[' at the start is not allowed (Setup reads the line as"},
        {Package::Ferrolink, "ShortName", "[x",
         nullptr},  // its section headers start with '[' anyway
        {Package::ComPort, "Vid", "\t", "control character U+0009 is not allowed"},
        {Package::ComPort, "TargetDirectory", "C:\\a\nb", "control character U+000A"},
        {Package::ComPort, "UninstallName", "con",
         "'con' is not allowed (Windows reserves the name for a device)"},
        {Package::Ferrolink, "InfName", "LPT9.x", "'LPT9'"},
        {Package::Ferrolink, "SysName", "Nul ", "'Nul'"},
        // Where the field does not land in that place, the character stays allowed.
        {Package::ComPort, "ShortName", "a,b;c]\"%",
         nullptr},  // lands in no file of the COM port package
        {Package::ComPort, "InfPrefix", "a=b ",
         nullptr},  // never starts an INF key nor ends a token
        {Package::Ferrolink, "SysName", "a b", nullptr},
        {Package::ComPort, "LongName", " M\xFCller (a,b; c=d) \\o/ ", nullptr},
        {Package::ComPort, "UninstallName", "1a.b-_&", nullptr},
        {Package::ComPort, "UninstallName", "COM10", nullptr},
        {Package::Ferrolink, "InfName", "console", nullptr},
        // The second byte of a double-byte character is not the ASCII character it resembles.
        {Package::ComPort, "UninstallName", "\x83\x5C\x83\x7C", nullptr, 932},
        {Package::ComPort, "UninstallName", "\x83\x5C", kFileName, 1252},
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
