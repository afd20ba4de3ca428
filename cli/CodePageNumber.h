#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace usbwiz {

// A Windows ANSI code page number as typed ("1252"); nullopt unless the conversions know it.
std::optional<unsigned> ParseCodePage(std::string_view text);

// Why `text` is not a code page, listing the ones that are.
std::string CodePageRule(std::string_view text);

}  // namespace usbwiz
