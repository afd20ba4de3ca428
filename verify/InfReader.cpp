#include "verify/InfReader.h"

#include "catalog/Utf16.h"
#include "platform/TextEncoding.h"
#include "verify/WindowsNameCase.h"

namespace usbwiz {

namespace {

// What %strkey% substitution may add to a file in all: a hostile file of short tokens that each
// name a long string would otherwise grow without bound.
constexpr std::size_t kSubstitutionGrowth = 16 * 1024 * 1024;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The physical lines of `text`, ended by CR LF, LF or CR.
std::vector<std::string_view> PhysicalLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

// A logical line: its comment dropped, lines that end in '\' (outside quotes) joined with the
// next one without its leading blanks; a quote still open at the end of a line is closed there.
struct LogicalLine {
    std::string text;
    std::size_t lineNumber;
};

std::vector<LogicalLine> LogicalLines(std::string_view text) {
    std::vector<LogicalLine> logical;
    bool continued = false;
    std::size_t number = 0;
    for (const std::string_view physical : PhysicalLines(text)) {
        ++number;
        std::string_view line = physical;
        if (continued) {
            while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
        } else {
            logical.push_back({{}, number});
        }
        std::string& out = logical.back().text;
        bool quoted = false;
        std::size_t end = 0;
        for (; end < line.size() && (quoted || line[end] != ';'); ++end)
            if (line[end] == '"') quoted = !quoted;
        out.append(line.substr(0, end));
        if (quoted) out += '"';
        while (!out.empty() && IsBlank(out.back()) && !quoted) out.pop_back();
        continued = !quoted && !out.empty() && out.back() == '\\';
        if (continued) out.pop_back();
    }
    return logical;
}

// Splits an entry into its key and fields: quotes removed, blanks outside them trimmed.
InfLine ParseEntry(const LogicalLine& line) {
    InfLine entry;
    entry.lineNumber = line.lineNumber;
    std::string field, pending;
    bool quoted = false, hasKey = false;
    const std::string_view text = line.text;
    const auto endField = [&] {
        entry.fields.push_back(std::move(field));
        field.clear();
        pending.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
                field += pending + '"';
                pending.clear();
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (quoted) {
            field += pending + c;
            pending.clear();
        } else if (c == '=' && !hasKey && entry.fields.empty()) {
            hasKey = true;
            entry.key = std::move(field);
            field.clear();
            pending.clear();
        } else if (c == ',') {
            endField();
        } else if (IsBlank(c)) {
            if (!field.empty()) pending += c;
        } else {
            field += pending + c;
            pending.clear();
        }
    }
    endField();
    return entry;
}

// The value of each string key, upper-cased: [Strings] first, then any language's
// [Strings.LanguageID] for keys [Strings] lacks.
using StringTable = std::map<std::string, std::string>;

class Substitution {
  public:
    explicit Substitution(const StringTable& strings) : strings_(strings) {}

    // `%%` is one '%'; a token of no known key stays as it is.
    std::string Apply(std::string_view text) {
        if (text.find('%') == std::string_view::npos) return std::string(text);
        std::string out;
        for (std::size_t i = 0; i < text.size();) {
            const std::size_t open = text.find('%', i);
            const std::size_t close =
                open == std::string_view::npos ? open : text.find('%', open + 1);
            if (close == std::string_view::npos) {
                out.append(text.substr(i));
                break;
            }
            out.append(text.substr(i, open - i));
            const std::string_view token = text.substr(open, close - open + 1);
            const auto known = strings_.find(UpperCaseName(token.substr(1, token.size() - 2)));
            if (token.size() == 2) {
                out += '%';
            } else if (known != strings_.end() && known->second.size() <= growth_ + token.size()) {
                growth_ -=
                    known->second.size() > token.size() ? known->second.size() - token.size() : 0;
                out += known->second;
            } else {
                out.append(token);
            }
            i = close + 1;
        }
        return out;
    }

  private:
    const StringTable& strings_;
    std::size_t growth_ = kSubstitutionGrowth;
};

StringTable Strings(const std::map<std::string, std::vector<InfLine>>& sections) {
    StringTable strings;
    const auto take = [&](const std::vector<InfLine>& lines) {
        for (const InfLine& line : lines)
            if (!line.key.empty() && !line.fields.empty())
                strings.emplace(UpperCaseName(line.key), line.fields.front());
    };
    if (const auto plain = sections.find("STRINGS"); plain != sections.end()) take(plain->second);
    for (const auto& [name, lines] : sections)
        if (name.starts_with("STRINGS.")) take(lines);
    return strings;
}

}  // namespace

const std::vector<InfLine>& InfFile::Section(std::string_view name) const {
    static const std::vector<InfLine> kNone;
    const auto found = sections_.find(UpperCaseName(name));
    return found == sections_.end() ? kNone : found->second;
}

bool InfFile::HasSection(std::string_view name) const {
    return sections_.count(UpperCaseName(name)) != 0;
}

std::optional<std::string> InfFile::Value(std::string_view section, std::string_view key) const {
    const std::string wanted = UpperCaseName(key);
    for (const InfLine& line : Section(section))
        if (UpperCaseName(line.key) == wanted)
            return line.fields.empty() ? std::string() : line.fields.front();
    return std::nullopt;
}

std::string InfTextAsUtf8(std::string_view bytes, unsigned codePage) {
    if (bytes.starts_with("\xFF\xFE")) return Utf8FromUtf16Le(bytes.substr(2));
    if (bytes.starts_with("\xFE\xFF")) {
        std::string swapped(bytes.substr(2));
        for (std::size_t i = 0; i + 1 < swapped.size(); i += 2)
            std::swap(swapped[i], swapped[i + 1]);
        return Utf8FromUtf16Le(swapped);
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) return std::string(bytes.substr(3));
    return ToUtf8(bytes, codePage).value_or(std::string(bytes));
}

InfFile ReadInf(std::string_view text) {
    InfFile inf;
    std::vector<InfLine>* section = nullptr;
    for (const LogicalLine& line : LogicalLines(text)) {
        const std::size_t start = line.text.find_first_not_of(" \t");
        if (start == std::string::npos) continue;
        if (line.text[start] == '[') {
            const std::size_t close = line.text.find(']', start);
            std::string name = line.text.substr(
                start + 1, close == std::string::npos ? std::string::npos : close - start - 1);
            while (!name.empty() && IsBlank(name.back())) name.pop_back();
            section = &inf.sections_[UpperCaseName(name)];
            continue;
        }
        if (section != nullptr) section->push_back(ParseEntry(line));
    }

    const StringTable strings = Strings(inf.sections_);
    Substitution substitution(strings);
    for (auto& [name, lines] : inf.sections_)
        for (InfLine& line : lines) {
            line.key = substitution.Apply(line.key);
            for (std::string& field : line.fields) field = substitution.Apply(field);
        }
    return inf;
}

}  // namespace usbwiz
