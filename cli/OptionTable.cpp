#include "cli/OptionTable.h"

#include <utility>

#include "cli/CodePageNumber.h"
#include "cli/VerifyCommand.h"
#include "settings/Utf8.h"

namespace usbwiz {

namespace {

// Appended piece by piece: "'" + std::string(...) trips a false -Wrestrict in mingw's g++ 12.
std::string Quoted(std::string_view text) {
    std::string quoted(1, '\'');
    quoted += Printable(text);
    quoted += '\'';
    return quoted;
}

constexpr OptionRow Heading(std::string_view title, std::string_view note = "") {
    return {OptionRowKind::Heading, title, {}, note};
}
constexpr OptionRow Prose(std::string_view text) {
    return {OptionRowKind::Prose, {}, {}, text};
}
constexpr OptionRow Field(std::string_view name, std::string_view value, std::string_view field,
                          std::string_view text) {
    return {OptionRowKind::Option, name, value, text, OptionEffect::Field, field};
}
constexpr OptionRow Flag(std::string_view name, std::string_view field, bool flagValue,
                         std::string_view text) {
    return {OptionRowKind::Option, name, {}, text, OptionEffect::Flag, field, flagValue};
}
constexpr OptionRow Value(std::string_view name, std::string_view value, std::string_view text,
                          std::string (*set)(CommandLineOptions&, std::string)) {
    return {OptionRowKind::Option, name, value, text, OptionEffect::Value, {}, false, set};
}
constexpr OptionRow Switch(std::string_view name, std::string_view text,
                           void (*set)(CommandLineOptions&)) {
    return {OptionRowKind::Option, name, {}, text, OptionEffect::Switch, {}, false, nullptr, set};
}
constexpr OptionRow VerifyOption(std::string_view name, std::string_view value,
                                 std::string_view text) {
    return {OptionRowKind::Option, name, value, text, OptionEffect::Verify};
}
constexpr OptionRow Action(std::string_view name, CliAction action, std::string_view text) {
    return {OptionRowKind::Option,
            name,
            {},
            text,
            OptionEffect::Action,
            {},
            false,
            nullptr,
            nullptr,
            action};
}

// A value taken as it is.
template <std::optional<std::string> CommandLineOptions::*member>
std::string Keep(CommandLineOptions& o, std::string value) {
    o.*member = std::move(value);
    return {};
}

template <bool CommandLineOptions::*member>
void TurnOn(CommandLineOptions& o) {
    o.*member = true;
}

std::string SetKind(CommandLineOptions& o, std::string value) {
    if (value == "com")
        o.kind = Package::ComPort;
    else if (value == "ferrolink")
        o.kind = Package::Ferrolink;
    else
        return "--kind: expected com or ferrolink, not " + Quoted(value);
    return {};
}

std::string SetCertification(CommandLineOptions& o, std::string value) {
    if (value == "plan")
        o.certification = Certification::Plan;
    else if (value == "default")
        o.certification = Certification::Default;
    else if (value == "none")
        o.certification = Certification::None;
    else
        return "--certification: expected plan, default or none, not " + Quoted(value);
    return {};
}

std::string SetCodePage(CommandLineOptions& o, std::string value) {
    o.codePage = ParseCodePage(value);
    return o.codePage ? "" : "--codepage: " + CodePageRule(value);
}

std::string SetCatalogHash(CommandLineOptions& o, std::string value) {
    if (value == "sha1")
        o.catalogHash = HashAlgorithm::Sha1;
    else if (value == "sha256")
        o.catalogHash = HashAlgorithm::Sha256;
    else
        return "--catalog-hash: expected sha1 or sha256, not " + Quoted(value);
    return {};
}

constexpr OptionRow kOptionTable[] = {
    Heading("Package"),
    Value("--kind", "com|ferrolink",
          "virtual COM port package or Ferrolink package; every field\n"
          "starts at that kind's defaults",
          SetKind),
    Value("--out", "DIR", "output directory", Keep<&CommandLineOptions::outDirectory>),
    Value("--settings", "FILE",
          "start from a file of 'Field = value' lines (see --dump-settings);\n"
          "it may name the kind (PackageKind = 1 or 2) instead of --kind",
          Keep<&CommandLineOptions::settingsFile>),

    Heading("Fields", "--opt VALUE, or --opt=VALUE for a value that starts with --"),
    Field("--uninstall-name", "NAME", "UninstallName",
          "the uninstallers and their files: NAME.exe, NAME2k.exe,\n"
          "NAME.u98, NAME.u2k"),
    Field("--inf-prefix", "PREFIX", "InfPrefix",
          "com only: the INF files' prefix (PREFIXbus.inf and the like)"),
    Field("--inf-name", "NAME", "InfName", "ferrolink only: the INF file, NAME.inf"),
    Field("--sys-name", "NAME", "SysName", "ferrolink only: the driver file, NAME.sys"),
    Field("--short-name", "TEXT", "ShortName", "the short name for INF file entries"),
    Field("--long-name", "TEXT", "LongName", "the long name for INF file entries"),
    Field("--com-device-name", "TEXT", "ComDeviceName",
          "com only: the COM port's name in Device Manager"),
    Field("--usb-device-name", "TEXT", "UsbDeviceName", "the USB device's name in Device Manager"),
    Field("--vid", "HEX", "Vid", "the USB vendor ID"),
    Field("--pid", "HEX", "Pid", "the USB product ID"),
    Field("--target-dir", "DIR", "TargetDirectory",
          "where the preinstaller copies the driver files"),

    Heading("Options"),
    Flag("--no-preinstaller", "UsePreinstaller", false,
         "leave out PreInstaller.exe; as in the wizard, the preinstaller's\n"
         "window, copy and target options go back to their fixed values"),
    Flag("--quiet-setup", "QuietSetup", true, "the preinstaller runs without a window"),
    Flag("--skip-file-copy", "SkipFileCopy", true,
         "the preinstaller does not copy the driver files"),
    Flag("--quiet-uninstall", "QuietUninstall", true, "the uninstaller runs without a window"),
    Flag("--leave-files", "LeaveFiles", true, "the uninstaller leaves the copied files in place"),
    Value("--certification", "plan|default|none",
          "catalog files: planned WHQL certification, the\n"
          "default catalog files, or none (the default)",
          SetCertification),
    Value("--codepage", "N",
          "the Windows ANSI code page the package is for (1252 unless\n"
          "this system's says otherwise); texts are read as UTF-8",
          SetCodePage),

    Heading("Catalogs", "--kind com"),
    Switch("--catalog",
           "also write the catalog files the INF files name,\n"
           "{prefix}bus.cat and {prefix}ser.cat (as --certification plan),\n"
           "unsigned unless one of the signing options below is given",
           TurnOn<&CommandLineOptions::catalog>),
    Value("--catalog-hash", "sha1|sha256",
          "SHA-1 (the default) for Windows 98 to XP; SHA-256 for\n"
          "Windows 8 and later; the signature uses the same digest.\n"
          "SOURCE_DATE_EPOCH fixes their time.",
          SetCatalogHash),
    Value("--sign-pfx", "FILE",
          "sign them with the code-signing certificate and key in a\n"
          "PKCS #12 file (AES or the older RC2 and 3DES, MAC or not);\n"
          "the signature carries its chain, not the file's other\n"
          "certificates",
          Keep<&CommandLineOptions::signPfx>),
    Value("--sign-password-env", "VAR",
          "the password of the PKCS #12 file or encrypted key is in\n"
          "environment variable VAR (never printed)",
          Keep<&CommandLineOptions::signPasswordEnv>),
    Switch("--sign-password-stdin", "that password is the first line of standard input",
           TurnOn<&CommandLineOptions::signPasswordStdin>),
    Value("--sign-cert", "PEM",
          "sign with PEM certificates (the key's own and its issuers,\n"
          "in any order) and the key of --sign-key",
          Keep<&CommandLineOptions::signCert>),
    Value("--sign-key", "PEM",
          "that key: PKCS #8, PKCS #1 or SEC 1, encrypted as OpenSSL\n"
          "does or not; ECDSA on Linux only. Refused, the folder left\n"
          "as it was: a certificate not valid now, not for code\n"
          "signing, limited to other key usages (a CA's), an RSA key\n"
          "under 2048 bits, ECDSA with sha1",
          Keep<&CommandLineOptions::signKey>),
    Value("--test-certificate", "DIR",
          "sign with a new self-signed test certificate (RSA 3072, valid\n"
          "90 days) and write it to DIR, outside --out however spelt,\n"
          "as {prefix}-driver-test.cer; its key is not kept. Its name is\n"
          "\"<long name> driver test certificate\", the long name cut\n"
          "to 37 characters and \"...\" where the name would pass 64.\n"
          "Trust it on test machines only.\n"
          "Signatures carry no RFC 3161 timestamp (that needs a network\n"
          "service): they are valid while the certificate is.",
          Keep<&CommandLineOptions::testCertificateDir>),

    Heading("Checking a package", "usbdrvgen verify DIR [--root CERT]... [--json]"),
    Prose("Checks any driver package folder as Windows does when it installs it:\n"
          "for each INF file, the catalog its [Version] names (also .NTx86, .NTamd64,\n"
          ".NTarm64), every file its [SourceDisksFiles] name there (names compared\n"
          "without case) and listed by its digest, the catalog's signature, and the\n"
          "signer valid now and for code signing. One line per file (file, catalog,\n"
          "verdict, reason), then a summary; files no INF names are noted. INF files\n"
          "and catalogs over 64 MiB and other files over 1 GiB are refused."),
    VerifyOption(kRootOption, "CERT",
                 "each catalog's signer must chain to CERT (PEM or DER;\n"
                 "once per root); without it the chains are not judged\n"
                 "and an unsigned catalog is only noted"),
    VerifyOption(kJsonOption, "", "the same as one JSON object, for pipelines"),

    Heading("Instead of generating"),
    Action("--dump-settings", CliAction::DumpSettings, "print the settings in --settings format"),
    Action("--summary", CliAction::Summary, "print the summary page"),
    Action("--list", CliAction::List, "print the paths that would be written"),
    Action("--payloads", CliAction::Payloads,
           "print the SHA-256, size and name of each file this program\n"
           "carries, as named in the payload folder it was built from"),

    Heading(""),
    Switch("--require-empty",
           "refuse an output directory that holds anything (otherwise\n"
           "entries that are not the package's get a warning; nothing\n"
           "is ever deleted)",
           TurnOn<&CommandLineOptions::requireEmpty>),
    Switch("--quiet", "no success line", TurnOn<&CommandLineOptions::quiet>),
    Action("--help", CliAction::Help, "this text"),
    Action("--version", CliAction::Version, "the program's version"),
};

}  // namespace

std::span<const OptionRow> OptionTable() {
    return kOptionTable;
}

const OptionRow* FindOption(std::string_view name) {
    for (const OptionRow& row : kOptionTable)
        if (row.kind == OptionRowKind::Option && row.effect != OptionEffect::Verify &&
            row.name == name)
            return &row;
    return nullptr;
}

}  // namespace usbwiz
