// Reads INF files back through the Windows setup API and compares what the API reads with a
// file of expectations for each (one check a line, see InfExpectation.h).
// Usage: SetupApiInfCheck INF EXPECTATIONS [INF EXPECTATIONS ...]
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

}  // namespace

}  // namespace usbwiz

int main(int argc, char** argv) {
    using namespace usbwiz;
    if (argc < 3 || argc % 2 == 0) {
        std::cerr << "usage: SetupApiInfCheck INF EXPECTATIONS [INF EXPECTATIONS ...]\n";
        return 2;
    }

    struct InfChecks {
        std::string infPath;
        std::vector<InfExpectation> expectations;
    };
    std::vector<InfChecks> files;
    bool usable = true;
    for (int i = 1; i + 1 < argc; i += 2) {
        InfChecks checks{argv[i], {}};
        usable = LoadExpectations(argv[i + 1], checks.expectations) && usable;
        files.push_back(std::move(checks));
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
