#include "cli/SummaryColumns.h"

#include <algorithm>
#include <vector>

namespace usbwiz {

namespace {

std::vector<std::string_view> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string_view> lines;
    while (true) {
        const std::size_t at = text.find(separator);
        lines.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return lines;
        text.remove_prefix(at + separator.size());
    }
}

}  // namespace

std::string SummaryColumns(std::string_view labels, std::string_view values) {
    const std::vector<std::string_view> left = Split(labels, "\n");
    const std::vector<std::string_view> right = Split(values, "\r\n");
    std::size_t width = 0;
    for (std::string_view label : left) width = std::max(width, label.size());

    std::string text;
    for (std::size_t i = 0; i < std::max(left.size(), right.size()); ++i) {
        std::string line(i < left.size() ? left[i] : std::string_view());
        if (i < right.size() && !right[i].empty()) {
            line.resize(width, ' ');
            line += ' ';
            line += right[i];
        }
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace usbwiz
