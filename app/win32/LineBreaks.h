#pragma once

#include <string>
#include <string_view>

namespace usbwiz {

// The layouts and pages break lines with "\n"; a multi-line edit control only breaks on "\r\n".
// Lone line feeds become "\r\n"; existing "\r\n" pairs stay as they are.
std::string WithCrLf(std::string_view text);

}  // namespace usbwiz
