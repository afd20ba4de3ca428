#include "verify/WindowsNameCase.h"

#include "settings/Utf8.h"

namespace usbwiz {

namespace {

// Blocks where upper and lower case alternate, the upper-case letter first when `upperEven`.
struct AlternatingBlock {
    char32_t first, last;
    bool upperEven;
};
constexpr AlternatingBlock kAlternating[] = {
    {0x0100, 0x012F, true},  {0x0132, 0x0137, true},  {0x0139, 0x0148, false},
    {0x014A, 0x0177, true},  {0x0179, 0x017E, false}, {0x01A0, 0x01A1, true},
    {0x01AF, 0x01B0, false}, {0x0490, 0x0491, true},
};

char32_t Upper(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 0x20;
    if (c < 0x80) return c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;  // Latin-1
    if (c == 0xFF) return 0x178;
    for (const AlternatingBlock& block : kAlternating)
        if (c >= block.first && c <= block.last)
            return ((c % 2 == 0) == block.upperEven) ? c : c - 1;
    if (c == 0x3C2) return 0x3A3;                   // final sigma
    if (c >= 0x3B1 && c <= 0x3CB) return c - 0x20;  // Greek
    if (c == 0x3AC) return 0x386;                   // Greek with tonos
    if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
    if (c == 0x3CC) return 0x38C;
    if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;  // Cyrillic
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

}  // namespace

std::string UpperCaseName(std::string_view utf8) {
    std::string upper;
    upper.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const std::optional<Utf8Character> c = DecodeUtf8(utf8, at);
        // Every letter mapped lies below U+0800; anything else is copied as it came.
        if (!c || c->codePoint >= 0x800) {
            const std::size_t length = c ? c->length : 1;
            upper.append(utf8.substr(at, length));
            at += length;
            continue;
        }
        AppendUtf8(upper, Upper(c->codePoint));
        at += c->length;
    }
    return upper;
}

}  // namespace usbwiz
