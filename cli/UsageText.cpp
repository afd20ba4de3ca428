#include "cli/UsageText.h"

#include <algorithm>

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

std::string HeadingText(const UsageRow& row) {
    std::string heading(row.term);
    if (!row.text.empty()) heading += " (" + std::string(row.text) + ")";
    return heading;
}

// --help's line breaks become source lines, which roff fills into paragraphs.
void AppendRoffLines(std::string& out, std::string_view text) {
    ForEachLine(text, [&](std::string_view line) { (out += Roff(line)) += '\n'; });
}

}  // namespace

std::string UsageText() {
    std::string out = "Usage: usbdrvgen " + std::string(kUsageSynopsis) + "\n";
    (out += kUsageDescription) += '\n';
    for (const UsageRow& row : kUsage) {
        switch (row.kind) {
            case UsageRowKind::Heading:
                out += '\n';
                if (!row.term.empty()) out += HeadingText(row) + ":\n";
                break;
            case UsageRowKind::Prose:
                ForEachLine(row.text,
                            [&](std::string_view line) { ((out += "  ") += line) += '\n'; });
                break;
            case UsageRowKind::Option: {
                std::string lead = "  " + std::string(row.term);
                if (row.text.empty()) {
                    (out += lead) += '\n';
                    break;
                }
                // A term too long for the column keeps three blanks before its text.
                lead.resize(lead.size() + 2 <= kTextColumn ? kTextColumn : lead.size() + 3, ' ');
                ForEachLine(row.text, [&](std::string_view line) {
                    ((out += lead) += line) += '\n';
                    lead.assign(kTextColumn, ' ');
                });
                break;
            }
        }
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
    for (const UsageRow& row : kUsage) {
        switch (row.kind) {
            case UsageRowKind::Heading:
                // --help sets an untitled group apart with a blank line; a manual needs a title.
                out += ".SS \"" + (row.term.empty() ? "Other options" : Roff(HeadingText(row))) +
                       "\"\n";
                break;
            case UsageRowKind::Prose:
                out += ".PP\n";
                AppendRoffLines(out, row.text);
                break;
            case UsageRowKind::Option:
                out += ".TP\n.B " + Roff(row.term) + "\n";
                if (row.text.empty())
                    out += "\\&\n";  // an empty paragraph: the term says it all
                else
                    AppendRoffLines(out, row.text);
                break;
        }
    }
    out += ".SH EXIT STATUS\n";
    AppendRoffLines(out, kUsageExitStatus);
    return out;
}

}  // namespace usbwiz
