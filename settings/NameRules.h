#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/WizardSettings.h"

namespace usbwiz {

// What may stand in each text field, derived from where the field lands in the package: a file
// name, a bare INF token (a key, a list item, a section name) or a quoted INF string. Files are
// never escaped: a text that would put a file elsewhere, that Windows cannot use as a file name,
// or that Setup would read as something other than what was typed is refused instead.

// Why `text` cannot stand in the record's text field `field` (its name in the record) for
// package `kind`, as "';' is not allowed (it starts a comment in an INF file)"; nullopt when it
// can. `text` is in the package's ANSI code page `codePage`, whose double-byte characters are
// skipped whole (their second byte may look like '\' or '|').
std::optional<std::string> FindUnsafeText(Package kind, std::string_view field,
                                          std::string_view text, unsigned codePage);

inline constexpr std::string_view kControlCharacterWhy =
    "a line break would corrupt the generated files";

// "WHAT is not allowed (WHY)", the form of every refusal above.
std::string NotAllowed(std::string_view what, std::string_view why);

// How a refused character is named in messages: 'x', a blank, or a control character by value.
std::string DescribeCharacter(char c);

inline constexpr std::string_view kFileNameCharacterWhy = "Windows file names cannot hold it";

// Why Windows would open a device for the file or folder name `name` ("NUL.exe", "nul .u98",
// "COM1": the part before the first dot, without trailing blanks, is what it compares), as
// "'nul' is not allowed (...)"; nullopt for any other name.
std::optional<std::string> FindDeviceName(std::string_view name);

// Whether `byte` is the first byte of a two-byte character in the ANSI code page `codePage`.
bool IsLeadByte(unsigned codePage, unsigned char byte);

}  // namespace usbwiz
