#include "catalog/Utf16.h"

#include <stdexcept>

namespace usbwiz {

namespace {

[[noreturn]] void NotUtf8(std::size_t at) {
    throw std::invalid_argument("text is not UTF-8 at byte " + std::to_string(at));
}

}  // namespace

std::u16string Utf16FromUtf8(std::string_view utf8) {
    std::u16string out;
    for (std::size_t at = 0; at < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        std::size_t length = 1;
        char32_t c = lead;
        char32_t smallest = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, c = lead & 0x1F, smallest = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, c = lead & 0x0F, smallest = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, c = lead & 0x07, smallest = 0x10000;
        } else if (lead >= 0x80) {
            NotUtf8(at);
        }
        if (utf8.size() - at < length) NotUtf8(at);
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(utf8[at + i]);
            if ((next & 0xC0) != 0x80) NotUtf8(at);
            c = (c << 6) | (next & 0x3F);
        }
        if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) NotUtf8(at);
        if (c >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
        at += length;
    }
    return out;
}

}  // namespace usbwiz
