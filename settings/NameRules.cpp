#include "settings/NameRules.h"

#include <array>
#include <cstdio>

#include "settings/WizardSettings.h"

namespace usbwiz {

namespace {

// The places a field's text lands in the package; a field's rule is the sum of its places'.
enum Landing : unsigned {
    kFileName = 1u << 0,     // part of a file name
    kFileStem = 1u << 1,     // the whole name in front of the extension
    kInfToken = 1u << 2,     // starts a bare INF token: a value, a list item, a section name
    kInfKey = 1u << 3,       // starts an INF line, as the key of an entry or a list item
    kInfTokenEnd = 1u << 4,  // also ends a bare INF token
    kInfSection = 1u << 5,   // inside an INF section name
    kInfQuoted = 1u << 6,    // inside a quoted INF string
    kCommandLine = 1u << 7,  // inside the unquoted uninstall command line
};

struct FieldLanding {
    std::string_view field;
    unsigned comPort;
    unsigned ferrolink;
};

constexpr unsigned kUninstallName =
    kFileName | kFileStem | kInfToken | kInfKey | kInfQuoted | kCommandLine;

// Fields not listed (the identifiers, the directories) land only on whole lines, where nothing
// but a line break can do harm. ShortName names INF sections in the Ferrolink INF only.
constexpr std::array<FieldLanding, 8> kLandings{{
    {"UninstallName", kUninstallName, kUninstallName},
    {"InfPrefix", kFileName | kInfToken | kInfQuoted, 0},
    {"InfName", 0, kFileName | kFileStem | kInfToken | kInfTokenEnd | kInfQuoted},
    {"SysName", 0, kFileName | kFileStem | kInfToken | kInfKey},
    {"ShortName", 0, kInfToken | kInfSection},
    {"LongName", kInfQuoted, kInfQuoted},
    {"ComDeviceName", kInfQuoted, 0},
    {"UsbDeviceName", kInfQuoted, kInfQuoted},
}};

// Characters refused wherever one of `landings` applies, checked in this order.
struct CharacterRule {
    unsigned landings;
    std::string_view characters;
    std::string_view why;
};

constexpr std::array<CharacterRule, 8> kCharacterRules{{
    {kFileName, "\\/:*?\"<>|", kFileNameCharacterWhy},
    {kInfToken, ",", "it separates the values of an INF line"},
    {kInfToken, ";", "it starts a comment in an INF file"},
    {kInfToken | kInfQuoted, "%", "Setup reads %...% as the name of a string"},
    {kInfToken | kInfQuoted, "\"", "it starts or ends a quoted INF string"},
    {kInfKey, "=", "it separates an INF entry's name from its value"},
    {kInfSection, "]", "it ends an INF section name"},
    {kCommandLine, " ", "it would split the uninstall command line"},
}};

constexpr std::array<std::string_view, 22> kDeviceNames{
    "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
    "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};

unsigned LandingsOf(Package kind, std::string_view field) {
    for (const FieldLanding& l : kLandings)
        if (l.field == field) return kind == Package::ComPort ? l.comPort : l.ferrolink;
    return 0;
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char upper = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 'a' + 'A') : a[i];
        if (upper != b[i]) return false;
    }
    return true;
}

}  // namespace

bool IsLeadByte(unsigned codePage, unsigned char byte) {
    switch (codePage) {
        case 932:
            return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        case 936:
        case 949:
        case 950:
            return byte >= 0x81 && byte <= 0xFE;
        default:
            return false;
    }
}

std::optional<std::string> FindDeviceName(std::string_view name) {
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    for (std::string_view device : kDeviceNames) {
        if (!SameLetters(stem, device)) continue;
        std::string quoted(1, '\'');
        quoted += stem;
        quoted += '\'';
        return NotAllowed(quoted, "Windows reserves the name for a device");
    }
    return std::nullopt;
}

std::string NotAllowed(std::string_view what, std::string_view why) {
    return std::string(what) + " is not allowed (" + std::string(why) + ")";
}

std::string DescribeCharacter(char c) {
    if (c == ' ') return "a blank";
    if (IsControl(c)) {
        char value[8];
        std::snprintf(value, sizeof value, "U+%04X", static_cast<unsigned char>(c));
        return std::string("control character ") + value;
    }
    std::string quoted(3, '\'');
    quoted[1] = c;
    return quoted;
}

std::optional<std::string> FindUnsafeText(Package kind, std::string_view field,
                                          std::string_view text, unsigned codePage) {
    const unsigned landings = LandingsOf(kind, field);
    constexpr std::string_view kDropped = "Setup drops it when it reads the INF file";
    if ((landings & kInfToken) != 0 && text.starts_with(' '))
        return NotAllowed("a blank at the start", kDropped);
    if ((landings & kInfKey) != 0 && text.starts_with('['))
        return NotAllowed("'[' at the start", "Setup reads the line as a section name");

    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsLeadByte(codePage, static_cast<unsigned char>(c)) && i + 1 < text.size()) {
            ++i;  // a double-byte character is never one of the ASCII characters below
            continue;
        }
        if (IsControl(c)) return NotAllowed(DescribeCharacter(c), kControlCharacterWhy);
        for (const CharacterRule& rule : kCharacterRules)
            if ((landings & rule.landings) != 0 &&
                rule.characters.find(c) != std::string_view::npos)
                return NotAllowed(DescribeCharacter(c), rule.why);
    }

    if ((landings & kInfTokenEnd) != 0 && text.ends_with(' '))
        return NotAllowed("a blank at the end", kDropped);
    if ((landings & kFileStem) != 0) return FindDeviceName(text);
    return std::nullopt;
}

}  // namespace usbwiz
