#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace usbwiz {

struct Utf8Character {
    char32_t codePoint;
    std::size_t length;  // bytes
};

// The character that starts at byte `at` of `text`; nullopt where the bytes are not UTF-8
// (overlong forms, surrogates and values beyond U+10FFFF included).
std::optional<Utf8Character> DecodeUtf8(std::string_view text, std::size_t at);

// Appends the UTF-8 form of `codePoint` (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t codePoint);

// The byte offset of the first sequence that is not UTF-8; nullopt when all of `text` is.
std::optional<std::size_t> FindInvalidUtf8(std::string_view text);

// A character for messages: 'ü' (U+00FC); control characters by value only, so that nothing
// typed can move the terminal's cursor.
std::string DescribeCodePoint(std::string_view text, const Utf8Character& character);

// `text` with its control bytes written as \xNN, for messages that quote what was given.
std::string Printable(std::string_view text);

}  // namespace usbwiz
