#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Hashing.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

// What one run of usbdrvgen does.
enum class CliAction { Generate, List, Summary, DumpSettings, Help, Version, Payloads };

// The certification page's three answers.
enum class Certification { Plan, Default, None };

struct OptionRow;  // cli/OptionTable.h

// A text field option as given.
struct TextOptionValue {
    const OptionRow* option;
    std::string value;
};

struct CommandLineOptions {
    CliAction action = CliAction::Generate;
    std::optional<Package> kind;
    std::optional<std::string> outDirectory;
    std::optional<std::string> settingsFile;
    std::vector<TextOptionValue> texts;   // in the order given: a later one wins
    std::vector<const OptionRow*> flags;  // the flag options, in the order given
    std::optional<Certification> certification;
    std::optional<unsigned> codePage;  // the Windows ANSI code page the package is for
    bool quiet = false;
    bool requireEmpty = false;  // refuse an output folder that holds anything
    bool catalog = false;       // write the catalog files the INF files name
    std::optional<HashAlgorithm> catalogHash;
    // Signing the catalogs: a PKCS #12 file (its password from an environment variable or the
    // first line of standard input), a PEM certificate chain and key, or a new test certificate
    // written into a folder of its own.
    std::optional<std::string> signPfx, signPasswordEnv, signCert, signKey, testCertificateDir;
    bool signPasswordStdin = false;
};

struct ParsedCommandLine {
    CommandLineOptions options;
    std::string error;  // why the command line is refused; empty when it is accepted
};

// Reads the arguments after the program name. Values come as "--opt VALUE" or "--opt=VALUE".
ParsedCommandLine ParseCommandLine(std::span<const std::string> args);

}  // namespace usbwiz
