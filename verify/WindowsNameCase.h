#pragma once

#include <string>
#include <string_view>

namespace usbwiz {

// Names as Windows compares them (file names, INF section names and keys): without regard to
// case. `utf8` with every letter of the ANSI code pages' alphabets (Latin, Greek, Cyrillic)
// upper-cased as Windows' simple case mapping does; everything else, bytes that are not UTF-8
// included, stays as it is.
std::string UpperCaseName(std::string_view utf8);

inline bool SameName(std::string_view a, std::string_view b) {
    return UpperCaseName(a) == UpperCaseName(b);
}

}  // namespace usbwiz
