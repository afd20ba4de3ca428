#pragma once

#include <string_view>

namespace usbwiz {

// The messages a page shows when a check fails (OK button, no icon, the program's name as caption).
inline constexpr std::string_view kFillInAllBlanksMessage = "Please fill in all blanks.";
inline constexpr std::string_view kInvalidHexMessage = "Please enter a valid hexadecimal number.";
inline constexpr std::string_view kInvalidDirectoryMessage =
    "Directory cannot contain: / : * ? \" < > |";

// Only an empty text is blank: a text of spaces is not.
inline bool IsBlank(std::string_view text) {
    return text.empty();
}

// Every character is 0-9 or A-F (upper case only); the empty text passes.
bool IsHexText(std::string_view text);

// After trimming white space from a copy: not empty, none of / * ? " < > |, and every ':' is
// directly followed by '\'.
bool IsValidPathText(std::string_view text);

}  // namespace usbwiz
