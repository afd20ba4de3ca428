#include "verify/VerifyReport.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "settings/Utf8.h"

namespace usbwiz {

namespace {

struct Counts {
    std::size_t ok = 0, failed = 0, notes = 0;
    std::map<std::string_view, std::size_t> failures;  // by verdict word
};

Counts CountOf(const VerifyOutcome& outcome) {
    Counts counts;
    for (const VerifyLine& line : outcome.lines) {
        const VerdictText& text = TextOf(line.verdict);
        if (line.verdict == Verdict::Ok)
            ++counts.ok;
        else if (text.fails)
            ++counts.failed, ++counts.failures[text.word];
        else
            ++counts.notes;
    }
    return counts;
}

const char* ChainWords(bool chainsChecked) {
    return chainsChecked ? "chains checked against the given roots"
                         : "chains not checked (no --root)";
}

// A JSON string: UTF-8 as it is, bytes that are not UTF-8 as the Latin-1 character of that
// value, so that any file name yields valid JSON.
std::string Json(std::string_view text) {
    std::string json = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const std::optional<Utf8Character> c = DecodeUtf8(text, at);
        if (c && byte >= 0x20 && byte != '"' && byte != '\\' && byte != 0x7F) {
            json.append(text.substr(at, c->length));
            at += c->length;
            continue;
        }
        if (byte == '"' || byte == '\\') {
            (json += '\\') += static_cast<char>(byte);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(byte));
            json += escaped;
        }
        ++at;
    }
    return json + "\"";
}

}  // namespace

int VerifyExitStatus(const VerifyOutcome& outcome) {
    if (!outcome.unusable.empty()) return kVerifyUnusable;
    return CountOf(outcome).failed == 0 ? kVerifyPassed : kVerifyFailed;
}

std::string VerifyReportText(const VerifyOutcome& outcome, bool chainsChecked) {
    std::size_t fileWidth = 0, catalogWidth = 0, verdictWidth = 0;
    for (const VerifyLine& line : outcome.lines) {
        fileWidth = std::max(fileWidth, Printable(line.file).size());
        catalogWidth =
            std::max(catalogWidth, std::max<std::size_t>(Printable(line.catalog).size(), 1));
        verdictWidth = std::max(verdictWidth, TextOf(line.verdict).word.size());
    }
    const auto column = [](std::string text, std::size_t width) {
        text.resize(std::max(width, text.size()) + 2, ' ');
        return text;
    };
    std::string report;
    for (const VerifyLine& line : outcome.lines)
        report += column(Printable(line.file), fileWidth) +
                  column(line.catalog.empty() ? "-" : Printable(line.catalog), catalogWidth) +
                  column(std::string(TextOf(line.verdict).word), verdictWidth) +
                  Printable(line.reason) + "\n";
    const Counts counts = CountOf(outcome);
    report += std::to_string(outcome.lines.size()) + " checked: " + std::to_string(counts.ok) +
              " ok, " + std::to_string(counts.failed) + " failed";
    if (!counts.failures.empty()) {
        std::string which;
        for (const auto& [word, count] : counts.failures)
            which += (which.empty() ? "" : ", ") + std::string(word) + " " + std::to_string(count);
        report += " (" + which + ")";
    }
    report += ", " + std::to_string(counts.notes) + (counts.notes == 1 ? " note; " : " notes; ") +
              ChainWords(chainsChecked) + "\n";
    return report;
}

std::string VerifyReportJson(const VerifyOutcome& outcome, bool chainsChecked) {
    const int status = VerifyExitStatus(outcome);
    if (status == kVerifyUnusable)
        return "{\"error\": " + Json(outcome.unusable) + ", \"exit\": " + std::to_string(status) +
               "}\n";
    std::string json = "{\"files\": [";
    for (std::size_t i = 0; i < outcome.lines.size(); ++i) {
        const VerifyLine& line = outcome.lines[i];
        json += (i == 0 ? "\n  " : ",\n  ");
        json += "{\"file\": " + Json(line.file) +
                ", \"catalog\": " + (line.catalog.empty() ? "null" : Json(line.catalog)) +
                ", \"verdict\": " + Json(TextOf(line.verdict).word) +
                ", \"reason\": " + Json(line.reason) + "}";
    }
    const Counts counts = CountOf(outcome);
    json += "\n], \"summary\": {\"checked\": " + std::to_string(outcome.lines.size()) +
            ", \"ok\": " + std::to_string(counts.ok) +
            ", \"failed\": " + std::to_string(counts.failed) +
            ", \"notes\": " + std::to_string(counts.notes) +
            ", \"chains_checked\": " + (chainsChecked ? "true" : "false") +
            "}, \"exit\": " + std::to_string(status) + "}\n";
    return json;
}

}  // namespace usbwiz
