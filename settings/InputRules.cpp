#include "settings/InputRules.h"

#include "settings/Trimmed.h"

namespace usbwiz {

bool IsHexText(std::string_view text) {
    for (char c : text) {
        const bool digit = c >= '0' && c <= '9';
        const bool upperHex = c >= 'A' && c <= 'F';
        if (!digit && !upperHex) return false;
    }
    return true;
}

bool IsValidPathText(std::string_view text) {
    constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";
    const std::string_view trimmed = Trimmed(text, kWhiteSpace);
    if (trimmed.empty()) return false;

    for (std::size_t i = 0; i < trimmed.size(); ++i) {
        switch (trimmed[i]) {
            case '/':
            case '*':
            case '?':
            case '"':
            case '<':
            case '>':
            case '|':
                return false;
            case ':':
                if (i + 1 >= trimmed.size() || trimmed[i + 1] != '\\') return false;
                break;
            default:
                break;
        }
    }
    return true;
}

}  // namespace usbwiz
