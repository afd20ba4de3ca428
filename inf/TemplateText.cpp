#include "inf/TemplateText.h"

#include <stdexcept>

#include "inf/InfStem.h"
#include "settings/SettingsFields.h"

namespace usbwiz {

namespace {

constexpr std::string_view kCrLf = "\r\n";

void AppendMarker(std::string& out, std::string_view marker, const WizardSettings& s) {
    if (marker == "TAB") {
        out += '\t';
    } else if (marker == "END") {
        // Nothing: the marker only makes trailing spaces visible in the template.
    } else if (marker == "CatalogComment") {
        out += CatalogComment(s);
    } else if (marker == "InfStem:upper") {
        out += GetUpperInfStem(s);
    } else if (const TextField* field = FindTextField(marker)) {
        out += s.*(field->member);
    } else {
        throw std::logic_error("unknown template marker {{" + std::string(marker) + "}}");
    }
}

void AppendExpanded(std::string& out, std::string_view line, const WizardSettings& s) {
    std::size_t pos = 0;
    while (pos < line.size()) {
        const std::size_t open = line.find("{{", pos);
        if (open == std::string_view::npos) {
            out += line.substr(pos);
            break;
        }
        const std::size_t close = line.find("}}", open + 2);
        if (close == std::string_view::npos) throw std::logic_error("unclosed template marker");
        out += line.substr(pos, open - pos);
        AppendMarker(out, line.substr(open + 2, close - open - 2), s);
        pos = close + 2;
    }
}

}  // namespace

std::string ExpandMarkers(std::string_view text, const WizardSettings& settings) {
    std::string out;
    AppendExpanded(out, text, settings);
    return out;
}

std::string RenderTemplate(std::string_view templateText, const WizardSettings& settings,
                           std::span<const std::string_view> notice) {
    if (templateText.empty() || templateText.front() != '\n' || templateText.back() != '\n')
        throw std::logic_error("a template starts and ends with a line feed");
    templateText.remove_prefix(1);

    std::string out;
    out.reserve(templateText.size() + templateText.size() / 4);
    while (!templateText.empty()) {
        const std::size_t end = templateText.find('\n');
        const std::string_view line = templateText.substr(0, end);
        templateText.remove_prefix(end + 1);
        if (line == "{{NoticeBlock}}") {
            for (std::string_view noticeLine : notice) {
                out += noticeLine;
                out += kCrLf;
            }
        } else {
            AppendExpanded(out, line, settings);
            out += kCrLf;
        }
    }
    return out;
}

}  // namespace usbwiz
