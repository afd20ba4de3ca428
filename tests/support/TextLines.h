#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace usbwiz::testing {

// True when every line ends in CR LF and no CR or LF stands anywhere else. The empty text is a
// file of no lines and passes.
inline bool HasOnlyCrLfLineEnds(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
    }
    return text.empty() || text.ends_with("\r\n");
}

// The lines of a text, each without its CR LF. Bytes after the last CR LF form one more line.
inline std::vector<std::string> SplitCrLfLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        lines.emplace_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 2);
    }
    return lines;
}

// The lines of `changed` that differ from `base`, by 1-based line number. A change of the line
// count is reported under line 0, so that it can never pass for an expected set of changes.
inline std::map<int, std::string> ChangedLines(std::string_view base, std::string_view changed) {
    const std::vector<std::string> before = SplitCrLfLines(base);
    const std::vector<std::string> after = SplitCrLfLines(changed);
    std::map<int, std::string> diff;
    if (before.size() != after.size())
        diff[0] =
            "line count " + std::to_string(before.size()) + " -> " + std::to_string(after.size());
    for (std::size_t i = 0; i < after.size(); ++i)
        if (i >= before.size() || before[i] != after[i]) diff[static_cast<int>(i + 1)] = after[i];
    return diff;
}

}  // namespace usbwiz::testing
