#include "cli/SettingsFile.h"

#include <set>

#include "cli/CodePageNumber.h"
#include "settings/Trimmed.h"
#include "settings/Utf8.h"

namespace usbwiz {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string Unquoted(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return std::string(value.substr(1, value.size() - 2));
    return std::string(value);
}

bool NeedsQuotes(std::string_view value) {
    if (value.empty()) return false;
    return kBlanks.find(value.front()) != std::string_view::npos ||
           kBlanks.find(value.back()) != std::string_view::npos || value.front() == '"';
}

std::string Quoted(std::string_view value) {
    if (!NeedsQuotes(value)) return std::string(value);
    std::string quoted(1, '"');
    quoted += value;
    quoted += '"';
    return quoted;
}

// What the file says, quoted for a message.
std::string Shown(std::string_view text) {
    std::string shown(1, '\'');
    shown += Printable(text);
    shown += '\'';
    return shown;
}

std::string Line(std::string_view name, const std::string& value) {
    return std::string(name) + (value.empty() ? " =\n" : " = " + value + "\n");
}

class LineReader {
  public:
    LineReader(std::string_view fileName, ParsedSettingsFile& result)
        : fileName_(fileName), result_(result) {}

    // Answers false once the file is refused.
    bool Read(std::string_view line, std::size_t number) {
        if (FindInvalidUtf8(line))
            return Refuse(number, "not UTF-8 text (settings files are UTF-8)");
        const std::string_view content = Trimmed(line, kBlanks);
        if (content.empty() || content.front() == '#') return true;

        const std::size_t equals = content.find('=');
        if (equals == std::string_view::npos)
            return Refuse(number, "expected 'Field = value', not " + Shown(content));
        const std::string name(Trimmed(content.substr(0, equals), kBlanks));
        const std::string_view value = Trimmed(content.substr(equals + 1), kBlanks);

        if (name.empty()) return Refuse(number, "a field name is missing before '='");
        if (!seen_.insert(name).second) return Refuse(number, Printable(name) + " is set twice");
        if (name == "GenerationDirectory")
            return Refuse(number,
                          "GenerationDirectory is not read from a settings file; give --out");
        if (name == "PackageKind") return ReadKind(value, number);
        if (name == "CodePage") {
            result_.file.codePage = ParseCodePage(value);
            return result_.file.codePage || Refuse(number, "CodePage: " + CodePageRule(value));
        }
        if (const TextField* field = FindTextField(name)) {
            result_.file.texts.push_back({field, Unquoted(value), number});
            return true;
        }
        if (const FlagField* field = FindFlagField(name)) return ReadFlag(*field, value, number);
        return Refuse(number, "unknown field " + Shown(name));
    }

  private:
    bool ReadKind(std::string_view value, std::size_t number) {
        if (value == "1")
            result_.file.kind = Package::ComPort;
        else if (value == "2")
            result_.file.kind = Package::Ferrolink;
        else
            return Refuse(
                number,
                "PackageKind must be 1 (virtual COM port) or 2 (Ferrolink), not " + Shown(value));
        return true;
    }

    bool ReadFlag(const FlagField& field, std::string_view value, std::size_t number) {
        if (value != "0" && value != "1")
            return Refuse(number, std::string(field.name) + " must be 0 or 1, not " + Shown(value));
        result_.file.flags.push_back({&field, value == "1", number});
        return true;
    }

    bool Refuse(std::size_t number, const std::string& what) {
        result_.error = std::string(fileName_) + ":" + std::to_string(number) + ": " + what;
        return false;
    }

    std::string_view fileName_;
    ParsedSettingsFile& result_;
    std::set<std::string> seen_;
};

}  // namespace

ParsedSettingsFile ParseSettingsFile(std::string_view text, std::string_view fileName) {
    ParsedSettingsFile result;
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        result.error = std::string(fileName) + ": settings files are UTF-8, not UTF-16";
        return result;
    }
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    LineReader reader(fileName, result);
    std::size_t number = 0;
    // CR LF, LF and a CR alone each end a line.
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end != std::string_view::npos && text[end] == '\r' && next < text.size() &&
            text[next] == '\n')
            ++next;
        text.remove_prefix(next);
        if (!reader.Read(line, ++number)) break;
    }
    return result;
}

std::string FormatSettingsFile(const WizardSettings& s, unsigned codePage) {
    std::string text = "# usbdrvgen settings; replay with: usbdrvgen --settings FILE --out DIR\n";
    text += Line("PackageKind", std::to_string(static_cast<int>(s.PackageKind)));
    for (const TextField& f : kTextFields)
        if (f.name != "GenerationDirectory") text += Line(f.name, Quoted(s.*(f.member)));
    for (const FlagField& f : kFlagFields) text += Line(f.name, std::to_string(s.*(f.member)));
    text += Line("CodePage", std::to_string(codePage));
    return text;
}

}  // namespace usbwiz
