#include "catalog/Utf16.h"

#include <stdexcept>

#include "settings/Utf8.h"

namespace usbwiz {

std::u16string Utf16FromUtf8(std::string_view utf8) {
    std::u16string out;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::optional<Utf8Character> c = DecodeUtf8(utf8, at);
        if (!c) throw std::invalid_argument("text is not UTF-8 at byte " + std::to_string(at));
        if (c->codePoint >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c->codePoint - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c->codePoint - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c->codePoint));
        }
        at += c->length;
    }
    return out;
}

std::string Utf8FromUtf16Le(std::string_view bytes) {
    const auto unit = [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    };
    std::string out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

}  // namespace usbwiz
