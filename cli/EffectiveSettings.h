#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "cli/CommandLine.h"
#include "cli/SettingsFile.h"
#include "platform/Platform.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

// The record a run works on, and where each text came from, for refusal messages.
struct EffectiveSettings {
    WizardSettings settings;  // texts in UTF-8, as typed
    // The Windows ANSI code page the package is for: --codepage, else the file's CodePage, else
    // this system's.
    unsigned codePage = 0;
    // `settings` as the package's files carry it: the texts in `codePage`, GenerationDirectory
    // as this system's file calls take it (see EncodeForPackage).
    WizardSettings package;
    // Text field name to its source: the option ("--vid"), or "FILE:LINE: Vid" from a settings
    // file. GenerationDirectory's is "--out".
    std::map<std::string_view, std::string> origins;
    // The --out text in native form, before the trailing separator; nullopt without --out.
    std::optional<std::string> outputDirectory;
    std::string error;  // why no record could be formed; empty when it was
};

// Fills `effective.package` from `effective.settings`. Answers "SOURCE: why" for the first text
// that is not UTF-8, holds a control character, or holds a character the code page lacks (or
// an --out this system cannot name); empty when all convert.
std::string EncodeForPackage(EffectiveSettings& effective);

// The kind's defaults (as choosing the kind on the welcome page gives them), then the settings
// file, then the command line: a later source wins. Identifiers are upper-cased as the wizard's
// identifier edits do. The kind comes from --kind or the file; when both give one they must
// agree. Nothing is checked here beyond that (see FindRefusal).
EffectiveSettings BuildEffectiveSettings(const CommandLineOptions& options,
                                         const SettingsFile* file, std::string_view fileName,
                                         Platform& platform, char separator);

}  // namespace usbwiz
