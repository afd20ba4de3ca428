// Names alike but for case, in each alphabet of the ANSI code pages: the fault table's names are
// ASCII, so a wrong letter elsewhere would show nowhere else.
#include <gtest/gtest.h>

#include "verify/WindowsNameCase.h"

namespace usbwiz {
namespace {

TEST(WindowsNameCase, UpperCasesAsWindowsComparesNames) {
    const std::pair<const char*, const char*> rows[] = {
        {"tarnbus.sys", "TARNBUS.SYS"},
        {"àéîõüþ ÷ ÿ", "ÀÉÎÕÜÞ ÷ Ÿ"},        // Latin-1; the sign stays; ÿ leaves the block
        {"ąčęłńšž", "ĄČĘŁŃŠŽ"},              // Latin Extended-A, both parities
        {"ğş", "ĞŞ"},                        // Turkish
        {"ơư", "ƠƯ"},                        // Vietnamese
        {"αβγσς άέήίόύώ", "ΑΒΓΣΣ ΆΈΉΊΌΎΏ"},  // Greek, final sigma, tonos
        {"абвгдеёжяђћџґ", "АБВГДЕЁЖЯЂЋЏҐ"},  // Cyrillic
        {"ß 中 \xFF!", "ß 中 \xFF!"},        // no single upper case letter; not UTF-8
    };
    for (const auto& [name, upper] : rows) EXPECT_EQ(UpperCaseName(name), upper) << name;
}

}  // namespace
}  // namespace usbwiz
