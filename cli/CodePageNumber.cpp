#include "cli/CodePageNumber.h"

#include <charconv>

#include "platform/TextEncoding.h"
#include "platform/WindowsCodePages.h"

namespace usbwiz {

std::optional<unsigned> ParseCodePage(std::string_view text) {
    unsigned number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || !IsSupportedCodePage(number))
        return std::nullopt;
    return number;
}

std::string CodePageRule(std::string_view text) {
    std::string rule = "expected a Windows ANSI code page (";
    for (unsigned codePage : kWindowsAnsiCodePages)
        if (IsSupportedCodePage(codePage))
            rule +=
                std::to_string(codePage) + (codePage == kWindowsAnsiCodePages.back() ? "" : ", ");
    rule += "), not '";
    rule += text;
    rule += '\'';
    return rule;
}

}  // namespace usbwiz
