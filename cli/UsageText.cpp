#include "cli/UsageText.h"

#include <algorithm>

#include "cli/OptionTable.h"
#include "cli/Roff.h"

namespace usbwiz {

namespace {

// Where --help starts the text of an option.
constexpr std::size_t kTextColumn = 27;

template <typename Line>
void ForEachLine(std::string_view text, Line line) {
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        line(text.substr(start, end - start));
        start = end + 1;
    }
}

std::string HeadingText(const OptionRow& row) {
    std::string heading(row.name);
    if (!row.text.empty()) heading += " (" + std::string(row.text) + ")";
    return heading;
}

// An option as typed, with what its value is called: "--out DIR".
std::string Term(const OptionRow& row) {
    std::string term(row.name);
    if (!row.value.empty()) (term += ' ') += row.value;
    return term;
}

// --help's line breaks become source lines, which roff fills into paragraphs.
void AppendRoffLines(std::string& out, std::string_view text) {
    ForEachLine(text, [&](std::string_view line) { (out += Roff(line)) += '\n'; });
}

}  // namespace

std::string UsageText() {
    std::string out = "Usage: usbdrvgen " + std::string(kUsageSynopsis) + "\n";
    (out += kUsageDescription) += '\n';
    for (const OptionRow& row : OptionTable()) {
        if (row.kind == OptionRowKind::Heading) {
            out += '\n';
            if (!row.name.empty()) out += HeadingText(row) + ":\n";
            continue;
        }
        if (row.kind == OptionRowKind::Prose) {
            ForEachLine(row.text, [&](std::string_view line) { ((out += "  ") += line) += '\n'; });
            continue;
        }
        // A term too long for the column keeps three blanks before its text.
        std::string lead = "  " + Term(row);
        lead.resize(lead.size() + 2 <= kTextColumn ? kTextColumn : lead.size() + 3, ' ');
        ForEachLine(row.text, [&](std::string_view line) {
            ((out += lead) += line) += '\n';
            lead.assign(kTextColumn, ' ');
        });
    }
    return (((out += "\nExit status: ") += kUsageExitStatus) += '\n');
}

std::string ManPage(std::string_view version, std::string_view date) {
    std::string out = ".TH USBDRVGEN 1 " + std::string(date) + " \"usbdrvgen " +
                      std::string(version) + "\" \"User Commands\"\n";
    out += ".nh\n";  // an option broken at one of its hyphens would not copy as typed
    out += ".SH NAME\nusbdrvgen \\- " + Roff(kUsageSummary) + "\n";
    out += ".SH SYNOPSIS\n.B usbdrvgen\n" + Roff(kUsageSynopsis) + "\n";
    out += ".SH DESCRIPTION\n";
    AppendRoffLines(out, kUsageDescription);
    out += ".SH OPTIONS\n";
    for (const OptionRow& row : OptionTable()) {
        if (row.kind == OptionRowKind::Heading) {
            // --help sets an untitled group apart with a blank line; a manual needs a title.
            out +=
                ".SS \"" + (row.name.empty() ? "Other options" : Roff(HeadingText(row))) + "\"\n";
            continue;
        }
        if (row.kind == OptionRowKind::Prose) {
            out += ".PP\n";
            AppendRoffLines(out, row.text);
            continue;
        }
        out += ".TP\n.B " + Roff(Term(row)) + "\n";
        AppendRoffLines(out, row.text);
    }
    out += ".SH EXIT STATUS\n";
    AppendRoffLines(out, kUsageExitStatus);
    return out;
}

}  // namespace usbwiz
