#include "settings/Utf8.h"

#include <cstdio>

namespace usbwiz {

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

}  // namespace

std::optional<Utf8Character> DecodeUtf8(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return Utf8Character{lead, 1};

    std::size_t length = 0;
    char32_t c = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07, smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (at + length > text.size()) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuation(byte(i))) return std::nullopt;
        c = (c << 6) | (byte(i) & 0x3F);
    }
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    return Utf8Character{c, length};
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    const int continuations = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLead[continuations] | (c >> (6 * continuations)));
    for (int i = continuations - 1; i >= 0; --i)
        out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
}

std::optional<std::size_t> FindInvalidUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::optional<Utf8Character> c = DecodeUtf8(text, at);
        if (!c) return at;
        at += c->length;
    }
    return std::nullopt;
}

std::string DescribeCodePoint(std::string_view text, const Utf8Character& character) {
    char value[16];
    std::snprintf(value, sizeof value, "U+%04X", static_cast<unsigned>(character.codePoint));
    if (IsControl(character.codePoint)) return std::string("control character ") + value;
    // Appended piece by piece: "'" + std::string(...) trips a false -Wrestrict in mingw's g++ 12.
    std::string described(1, '\'');
    described += text.substr(0, character.length);
    described += "' (";
    described += value;
    described += ')';
    return described;
}

std::string Printable(std::string_view text) {
    std::string printable;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            printable += c;
            continue;
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
        printable += escaped;
    }
    return printable;
}

}  // namespace usbwiz
