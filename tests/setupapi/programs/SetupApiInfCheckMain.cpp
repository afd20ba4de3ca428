// Reads INF files back through the Windows setup API and compares what the API reads with a
// file of expectations for each (one check a line, see InfExpectation.h).
// Usage: SetupApiInfCheck [--values FILE] INF EXPECTATIONS [[--values FILE] INF EXPECTATIONS ...]
// A values file holds "Field=text" lines (the names the package was generated with); in the
// expectations that follow it, {Field} stands for the text and {Field:upper} for it with a-z
// upper-cased, in section names, line keys and expected texts.
// Exit status: 0 when every check passed, 1 when any failed, 2 for unusable arguments or
// expectation files.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "CheckInfExpectations.h"
#include "InfExpectation.h"

namespace usbwiz {

namespace {

// Every line of the file must be a check, a comment or blank, and there must be at least one
// check: a file that checks nothing would pass whatever the INF holds.
bool LoadExpectations(const std::string& path, std::vector<InfExpectation>& expectations) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::cerr << path << ": cannot open the expectation file\n";
        return false;
    }
    bool usable = true;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        auto parsed = ParseExpectationLine(line);
        if (parsed.expectation) {
            expectations.push_back(std::move(*parsed.expectation));
        } else if (!parsed.error.empty()) {
            std::cerr << path << ":" << number << ": " << parsed.error << '\n';
            usable = false;
        }
    }
    if (expectations.empty()) {
        std::cerr << path << ": holds no checks\n";
        usable = false;
    }
    return usable;
}

using Values = std::vector<std::pair<std::string, std::string>>;

bool LoadValues(const std::string& path, Values& values) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::cerr << path << ": cannot open the values file\n";
        return false;
    }
    values.clear();
    for (std::string line; std::getline(file, line);) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string field = line.substr(0, equals), text = line.substr(equals + 1);
        std::string upper = text;
        for (char& c : upper)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        values.push_back({"{" + field + "}", text});
        values.push_back({"{" + field + ":upper}", upper});
    }
    return true;
}

void Substitute(std::string& text, const Values& values) {
    for (const auto& [placeholder, value] : values)
        for (auto at = text.find(placeholder); at != std::string::npos;
             at = text.find(placeholder, at + value.size()))
            text.replace(at, placeholder.size(), value);
}

void Substitute(InfExpectation& expectation, const Values& values) {
    Substitute(expectation.section, values);
    Substitute(expectation.line.key, values);
    Substitute(expectation.expected, values);
}

}  // namespace

}  // namespace usbwiz

int main(int argc, char** argv) {
    using namespace usbwiz;
    const std::vector<std::string> args(argv + 1, argv + argc);

    struct InfChecks {
        std::string infPath;
        std::vector<InfExpectation> expectations;
    };
    std::vector<InfChecks> files;
    bool usable = true;
    Values values;
    for (std::size_t i = 0; i < args.size();) {
        if (args[i] == "--values" && i + 1 < args.size()) {
            usable = LoadValues(args[i + 1], values) && usable;
            i += 2;
            continue;
        }
        if (i + 1 >= args.size()) break;
        InfChecks checks{args[i], {}};
        usable = LoadExpectations(args[i + 1], checks.expectations) && usable;
        for (InfExpectation& expectation : checks.expectations) Substitute(expectation, values);
        files.push_back(std::move(checks));
        i += 2;
    }
    if (files.empty() || args.size() % 2 != 0) {
        std::cerr << "usage: SetupApiInfCheck [--values FILE] INF EXPECTATIONS [...]\n";
        return 2;
    }
    if (!usable) return 2;

    int total = 0;
    int failed = 0;
    for (const auto& checks : files) {
        const int failedHere =
            CountFailedExpectations(checks.infPath, checks.expectations, std::cout);
        total += static_cast<int>(checks.expectations.size());
        failed += failedHere;
        std::cout << (failedHere == 0 ? "ok   " : "FAIL ") << checks.infPath << ": "
                  << checks.expectations.size() - failedHere << " of " << checks.expectations.size()
                  << " checks passed\n";
    }
    std::cout << (failed == 0 ? "PASS" : "FAIL") << ": " << total - failed << " of " << total
              << " checks passed\n";
    return failed == 0 ? 0 : 1;
}
