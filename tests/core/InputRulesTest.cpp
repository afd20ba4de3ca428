#include <gtest/gtest.h>

#include "settings/InputRules.h"

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

}  // namespace
}  // namespace usbwiz
