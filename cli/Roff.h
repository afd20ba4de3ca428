#pragma once

#include <string>
#include <string_view>

namespace usbwiz {

// A man(7) source line: backslashes and hyphens escaped, so that options copy as typed, and a
// line that would start with a control character kept as text.
inline std::string Roff(std::string_view text) {
    std::string roff;
    for (const char c : text) {
        if (c == '\\')
            roff += "\\e";
        else if (c == '-')
            roff += "\\-";
        else
            roff += c;
    }
    if (roff.starts_with('.') || roff.starts_with('\'')) roff.insert(0, "\\&");
    return roff;
}

}  // namespace usbwiz
