#include "Scenario.h"

namespace usbwiz {

namespace {

std::string Substitute(const std::string& text, const std::map<std::string, std::string>& vars,
                       int line) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, 2, "${") != 0) {
            out += text[i++];
            continue;
        }
        const std::size_t close = text.find('}', i + 2);
        if (close == std::string::npos)
            throw ScenarioError("line " + std::to_string(line) + ": unclosed ${");
        const std::string name = text.substr(i + 2, close - i - 2);
        if (name == "CR")
            out += '\r';
        else if (name == "LF")
            out += '\n';
        else if (const auto found = vars.find(name); found != vars.end())
            out += found->second;
        else
            throw ScenarioError("line " + std::to_string(line) + ": unknown variable ${" + name +
                                "}");
        i = close + 1;
    }
    return out;
}

std::string WithoutLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    return line;
}

}  // namespace

std::pair<std::string, std::string> SplitFirstWord(const std::string& text) {
    const std::size_t space = text.find(' ');
    if (space == std::string::npos) return {text, ""};
    return {text.substr(0, space), text.substr(space + 1)};
}

std::vector<Step> ParseScenario(const std::string& text,
                                const std::map<std::string, std::string>& variables) {
    std::vector<Step> steps;
    std::size_t start = 0;
    int line = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string raw = WithoutLineEnd(
            text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        ++line;
        start = end == std::string::npos ? text.size() + 1 : end + 1;

        const std::size_t first = raw.find_first_not_of(" \t");
        if (first == std::string::npos || raw[first] == '#') continue;
        const auto [verb, rest] = SplitFirstWord(raw.substr(first));
        steps.push_back({line, raw.substr(first), verb, Substitute(rest, variables, line)});
    }
    return steps;
}

}  // namespace usbwiz
