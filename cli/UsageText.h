#pragma once

#include <string>
#include <string_view>

namespace usbwiz {

// One row of usbdrvgen's usage: a heading that starts a group of options, a paragraph, or an
// option. --help and the manual page are both made from the rows of kUsage.
enum class UsageRowKind { Heading, Prose, Option };

struct UsageRow {
    UsageRowKind kind;
    std::string_view term;  // Option: as typed ("--out DIR"); Heading: the title (empty: none)
    std::string_view text;  // Option: what it does; Heading: a note; '\n' where --help breaks
};

constexpr UsageRow Heading(std::string_view title, std::string_view note = "") {
    return {UsageRowKind::Heading, title, note};
}
constexpr UsageRow Prose(std::string_view text) {
    return {UsageRowKind::Prose, "", text};
}
constexpr UsageRow Option(std::string_view term, std::string_view text) {
    return {UsageRowKind::Option, term, text};
}

inline constexpr std::string_view kUsageSynopsis = "--kind com|ferrolink --out DIR [options]";
inline constexpr std::string_view kUsageSummary =
    "write a customised USB driver installation package";
inline constexpr std::string_view kUsageDescription =
    "Writes a customised USB driver installation package into DIR (created with any missing\n"
    "parents), byte for byte as the wizard writes it for the same settings.";
inline constexpr std::string_view kUsageExitStatus =
    "0 written, 1 generation failed, 2 input refused (nothing written).\n"
    "verify: 0 every check passed, 1 one failed, 2 the folder or a root cannot be used.";

// To add an option, add its row under the heading it belongs to.
inline constexpr UsageRow kUsage[] = {
    Heading("Package"),
    Option("--kind com|ferrolink",
           "virtual COM port package or Ferrolink package; every field\n"
           "starts at that kind's defaults"),
    Option("--out DIR", "output directory"),
    Option("--settings FILE",
           "start from a file of 'Field = value' lines (see --dump-settings);\n"
           "it may name the kind (PackageKind = 1 or 2) instead of --kind"),

    Heading("Fields", "--opt VALUE, or --opt=VALUE for a value that starts with --"),
    Prose("--uninstall-name, --inf-prefix, --short-name, --long-name, --usb-device-name,\n"
          "--vid, --pid, --target-dir; --com-device-name (com only); --inf-name, --sys-name\n"
          "(ferrolink only)"),

    Heading("Options"),
    Option("--no-preinstaller",
           "leave out PreInstaller.exe; as in the wizard, the preinstaller's\n"
           "window, copy and target options go back to their fixed values"),
    Option("--quiet-setup", "the preinstaller runs without a window"),
    Option("--skip-file-copy", "the preinstaller does not copy the driver files"),
    Option("--quiet-uninstall", "the uninstaller runs without a window"),
    Option("--leave-files", "the uninstaller leaves the copied files in place"),
    Option("--certification plan|default|none",
           "catalog files: planned WHQL certification, the\n"
           "default catalog files, or none (the default)"),
    Option("--codepage N",
           "the Windows ANSI code page the package is for (1252 unless\n"
           "this system's says otherwise); texts are read as UTF-8"),

    Heading("Catalogs", "--kind com"),
    Option("--catalog",
           "also write the catalog files the INF files name,\n"
           "{prefix}bus.cat and {prefix}ser.cat (as --certification plan),\n"
           "unsigned unless one of the signing options below is given"),
    Option("--catalog-hash sha1|sha256",
           "SHA-1 (the default) for Windows 98 to XP; SHA-256 for\n"
           "Windows 8 and later; the signature uses the same digest.\n"
           "SOURCE_DATE_EPOCH fixes their time."),
    Option("--sign-pfx FILE",
           "sign them with the code-signing certificate and key in a\n"
           "PKCS #12 file (AES or the older RC2 and 3DES, MAC or not);\n"
           "the signature carries its chain, not the file's other\n"
           "certificates"),
    Option("--sign-password-env VAR",
           "the password of the PKCS #12 file or encrypted key is in\n"
           "environment variable VAR (never printed)"),
    Option("--sign-password-stdin", "that password is the first line of standard input"),
    Option("--sign-cert PEM --sign-key PEM",
           "sign with PEM certificates (the key's own and its issuers,\n"
           "in any order) and the key: PKCS #8, PKCS #1 or SEC 1,\n"
           "encrypted as OpenSSL does or not; ECDSA on Linux only.\n"
           "Refused before anything is written: a certificate not valid\n"
           "now, not for code signing, limited to other key usages (a\n"
           "CA's), an RSA key under 2048 bits, ECDSA with sha1"),
    Option("--test-certificate DIR",
           "sign with a new self-signed test certificate (RSA 3072, valid\n"
           "90 days) and write it to DIR, outside --out however spelt,\n"
           "as {prefix}-driver-test.cer; its key is not kept. Its name is\n"
           "\"<long name> driver test certificate\", the long name cut\n"
           "to 37 characters and \"...\" where the name would pass 64.\n"
           "Trust it on test machines only.\n"
           "Signatures carry no RFC 3161 timestamp (that needs a network\n"
           "service): they are valid while the certificate is."),

    Heading("Checking a package", "usbdrvgen verify DIR [--root CERT]... [--json]"),
    Prose("Checks any driver package folder as Windows does when it installs it:\n"
          "for each INF file, the catalog its [Version] names (also .NTx86, .NTamd64,\n"
          ".NTarm64), every file its [SourceDisksFiles] name there (names compared\n"
          "without case) and listed by its digest, the catalog's signature, and the\n"
          "signer valid now and for code signing. One line per file (file, catalog,\n"
          "verdict, reason), then a summary; files no INF names are noted. INF files\n"
          "and catalogs over 64 MiB and other files over 1 GiB are refused."),
    Option("--root CERT",
           "each catalog's signer must chain to CERT (PEM or DER;\n"
           "once per root); without it the chains are not judged\n"
           "and an unsigned catalog is only noted"),
    Option("--json", "the same as one JSON object, for pipelines"),

    Heading("Instead of generating"),
    Option("--dump-settings", "print the settings in --settings format"),
    Option("--summary", "print the summary page"),
    Option("--list", "print the paths that would be written"),
    Option("--payloads",
           "print the SHA-256, size and name of each file this program\n"
           "carries, as named in the payload folder it was built from"),

    Heading(""),
    Option("--require-empty",
           "refuse an output directory that holds anything (otherwise\n"
           "entries that are not the package's get a warning; nothing\n"
           "is ever deleted)"),
    Option("--quiet", "no success line"),
    Option("--help, --version", ""),
};

// What --help prints.
std::string UsageText();

// The manual page usbdrvgen(1) in man(7) format, dated `date` (YYYY-MM-DD).
std::string ManPage(std::string_view version, std::string_view date);

}  // namespace usbwiz
