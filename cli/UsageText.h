#pragma once

#include <string>
#include <string_view>

namespace usbwiz {

// The texts around usbdrvgen's options; the options themselves are the rows of OptionTable().
inline constexpr std::string_view kUsageSynopsis = "--kind com|ferrolink --out DIR [options]";
inline constexpr std::string_view kUsageSummary =
    "write a customised USB driver installation package";
inline constexpr std::string_view kUsageDescription =
    "Writes a customised USB driver installation package into DIR (created with any missing\n"
    "parents), byte for byte as the wizard writes it for the same settings.";
inline constexpr std::string_view kUsageExitStatus =
    "0 written, 1 generation failed, 2 input refused (nothing written).\n"
    "verify: 0 every check passed, 1 one failed, 2 the folder or a root cannot be used.";

// What --help prints: the option table's rows with these texts around them.
std::string UsageText();

// The manual page usbdrvgen(1) in man(7) format, dated `date` (YYYY-MM-DD).
std::string ManPage(std::string_view version, std::string_view date);

}  // namespace usbwiz
