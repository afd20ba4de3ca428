#pragma once

#include <array>
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

// An option that sets one text field of the record.
struct TextOption {
    std::string_view option;
    std::string_view field;
};

inline constexpr std::array<TextOption, 11> kTextOptions{{
    {"--uninstall-name", "UninstallName"},
    {"--inf-prefix", "InfPrefix"},
    {"--inf-name", "InfName"},
    {"--sys-name", "SysName"},
    {"--short-name", "ShortName"},
    {"--long-name", "LongName"},
    {"--com-device-name", "ComDeviceName"},
    {"--usb-device-name", "UsbDeviceName"},
    {"--vid", "Vid"},
    {"--pid", "Pid"},
    {"--target-dir", "TargetDirectory"},
}};

// An option without a value that sets one flag of the record to a fixed value.
struct FlagOption {
    std::string_view option;
    std::string_view field;
    bool value;
};

inline constexpr std::array<FlagOption, 5> kFlagOptions{{
    {"--no-preinstaller", "UsePreinstaller", false},
    {"--quiet-setup", "QuietSetup", true},
    {"--skip-file-copy", "SkipFileCopy", true},
    {"--quiet-uninstall", "QuietUninstall", true},
    {"--leave-files", "LeaveFiles", true},
}};

inline constexpr std::string_view kOutOption = "--out";

struct TextOptionValue {
    const TextOption* option;
    std::string value;
};

struct CommandLineOptions {
    CliAction action = CliAction::Generate;
    std::optional<Package> kind;
    std::optional<std::string> outDirectory;
    std::optional<std::string> settingsFile;
    std::vector<TextOptionValue> texts;  // in the order given: a later one wins
    std::vector<const FlagOption*> flags;
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
