#pragma once

#include <string>
#include <string_view>

namespace usbwiz {

// `utf8` as UTF-16 code units (surrogate pairs beyond U+FFFF). Text that is not UTF-8 (overlong
// forms and encoded surrogates included) throws std::invalid_argument.
std::u16string Utf16FromUtf8(std::string_view utf8);

// UTF-16LE bytes (a name in a catalog, a Unicode INF file) as UTF-8; an unpaired surrogate
// becomes U+FFFD and an odd last byte is dropped.
std::string Utf8FromUtf16Le(std::string_view bytes);

}  // namespace usbwiz
