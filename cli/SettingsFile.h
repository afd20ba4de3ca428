#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/SettingsFields.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

// A settings file holds `Field = value` lines named after the record's fields, in any order:
//
//   # comment lines start with '#'
//   PackageKind = 1
//   UninstallName = tarnunin
//   QuietSetup = 0
//
// It may set PackageKind (1 or 2), the eleven text fields, the seven flags (0 or 1) and CodePage,
// the Windows ANSI code page the package is for (as --codepage). The file is UTF-8.
// GenerationDirectory belongs to the run, not the product, so it comes from --out only; a file
// then serves every machine and output folder. Each field at most once.
//
// A value is taken as it stands after "= ", with blanks around it dropped. A value that must keep
// leading or trailing blanks, or that starts with a double quote, is written inside double
// quotes; the outer pair is removed and everything between them is kept as it is.

struct SettingsFileText {
    const TextField* field;
    std::string value;
    std::size_t line;
};

struct SettingsFileFlag {
    const FlagField* field;
    bool value;
    std::size_t line;
};

struct SettingsFile {
    std::optional<Package> kind;
    std::optional<unsigned> codePage;
    std::vector<SettingsFileText> texts;
    std::vector<SettingsFileFlag> flags;
};

struct ParsedSettingsFile {
    SettingsFile file;
    std::string error;  // "FILE:LINE: what is wrong"; empty when the file is accepted
};

// `fileName` only names the file in messages. CR LF, LF and a CR alone end a line; a UTF-8
// byte-order mark at the start is skipped, a UTF-16 one refused.
ParsedSettingsFile ParseSettingsFile(std::string_view text, std::string_view fileName);

// The record as a settings file: PackageKind, the text fields, then the flags, each in the
// record's order, and the code page; everything a file may set and nothing else.
std::string FormatSettingsFile(const WizardSettings& settings, unsigned codePage);

}  // namespace usbwiz
