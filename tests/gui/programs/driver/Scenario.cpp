#include "Scenario.h"

namespace usbwiz {

namespace {

const std::map<std::string, std::string> kBuiltInVariables = {
    {"CR", "\r"}, {"LF", "\n"}, {"SPACE", " "}, {"EMPTY", ""}};

// Includes deeper than this are a loop.
constexpr int kMaxIncludeDepth = 8;

std::string Substitute(const std::string& text, const std::map<std::string, std::string>& vars,
                       const std::string& where) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, 2, "${") != 0) {
            out += text[i++];
            continue;
        }
        const std::size_t close = text.find('}', i + 2);
        if (close == std::string::npos) throw ScenarioError(where + ": unclosed ${");
        const std::string name = text.substr(i + 2, close - i - 2);
        if (const auto builtIn = kBuiltInVariables.find(name); builtIn != kBuiltInVariables.end())
            out += builtIn->second;
        else if (const auto found = vars.find(name); found != vars.end())
            out += found->second;
        else
            throw ScenarioError(where + ": unknown variable ${" + name + "}");
        i = close + 1;
    }
    return out;
}

std::string WithoutLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    return line;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

void ParseInto(std::vector<Step>& steps, const std::string& path,
               const std::map<std::string, std::string>& variables, const ScenarioFileReader& read,
               int depth) {
    if (depth > kMaxIncludeDepth)
        throw ScenarioError(path + ": includes nested too deep (an include loop?)");
    const std::string text = read(path);
    const std::string name = FileNameOf(path);
    bool previousIsStep = false;  // a continuation line needs a step right above it
    std::size_t start = 0;
    int line = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string raw = WithoutLineEnd(
            text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        ++line;
        start = end == std::string::npos ? text.size() + 1 : end + 1;
        const std::string where = name + ":" + std::to_string(line);

        const std::size_t first = raw.find_first_not_of(" \t");
        if (first == std::string::npos || raw[first] == '#') {
            previousIsStep = false;
            continue;
        }
        if (raw[first] == '|') {
            if (!previousIsStep)
                throw ScenarioError(where + ": a '|' line continues the step right above it");
            std::string more = raw.substr(first + 1);
            if (!more.empty() && more.front() == ' ') more.erase(0, 1);
            steps.back().rest += '\n' + Substitute(more, variables, where);
            continue;
        }
        const auto [verb, rest] = SplitFirstWord(raw.substr(first));
        if (verb == "include") {
            const std::string folder = FolderOf(path);
            const std::string included = Substitute(rest, variables, where);
            ParseInto(steps, folder.empty() ? included : folder + "\\" + included, variables, read,
                      depth + 1);
            previousIsStep = false;
            continue;
        }
        steps.push_back({name, line, raw.substr(first), verb, Substitute(rest, variables, where)});
        previousIsStep = true;
    }
}

}  // namespace

std::pair<std::string, std::string> SplitFirstWord(const std::string& text) {
    const std::size_t space = text.find(' ');
    if (space == std::string::npos) return {text, ""};
    return {text.substr(0, space), text.substr(space + 1)};
}

std::string FolderOf(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (IsSeparator(path[i - 1])) return path.substr(0, i - 1);
    return "";
}

std::string FileNameOf(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (IsSeparator(path[i - 1])) return path.substr(i);
    return path;
}

std::vector<Step> ParseScenario(const std::string& path,
                                const std::map<std::string, std::string>& variables,
                                const ScenarioFileReader& read) {
    std::vector<Step> steps;
    ParseInto(steps, path, variables, read, 0);
    return steps;
}

}  // namespace usbwiz
