// Drives the wizard through scenarios, as a user would, and reports the first step of each that
// does not get what it expects. Runs under Wine beside the wizard, which it starts and always
// ends. Many scenarios run in one go, so that Wine starts once for all of them.
//
// Usage: WizardDriver --program WIZARD.exe --scenario FILE [--scenario FILE]...
//                     [--work FOLDER] [--set NAME=VALUE]... [--snapshots FOLDER]
//                     [--step-timeout SECONDS]
// With --work, each scenario NAME.txt gets ${DIR}, the folder FOLDER\NAME (made when missing),
// and ${OUT}, the folder ${DIR}\out (not made). Each scenario ends with a line
// "RESULT PASS NAME" or "RESULT FAIL NAME".
// Exit status: 0 every scenario passed, 1 one failed, 2 the driver could not run.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Scenario.h"
#include "ScenarioRunner.h"

namespace {

struct Arguments {
    std::vector<std::string> scenarios;
    std::string workFolder;
    std::map<std::string, std::string> variables;
    usbwiz::DriverOptions options;
};

Arguments ParseArguments(int argc, char** argv) {
    Arguments parsed;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) throw std::runtime_error(option + " needs a value");
        const std::string value = argv[++i];
        if (option == "--program") {
            parsed.options.program = value;
        } else if (option == "--scenario") {
            parsed.scenarios.push_back(value);
        } else if (option == "--work") {
            parsed.workFolder = value;
        } else if (option == "--snapshots") {
            parsed.options.snapshotFolder = value;
        } else if (option == "--step-timeout") {
            parsed.options.stepTimeout = std::chrono::seconds(std::stoi(value));
        } else if (option == "--set") {
            const std::size_t equals = value.find('=');
            if (equals == std::string::npos) throw std::runtime_error("--set needs NAME=VALUE");
            parsed.variables[value.substr(0, equals)] = value.substr(equals + 1);
        } else {
            throw std::runtime_error("unknown option " + option);
        }
    }
    if (parsed.options.program.empty() || parsed.scenarios.empty())
        throw std::runtime_error("--program and --scenario are needed");
    return parsed;
}

std::string ReadScenarioFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw usbwiz::ScenarioError("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ScenarioName(const std::string& path) {
    std::string name = usbwiz::FileNameOf(path);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0)
        name.resize(name.size() - 4);
    return name;
}

bool PlayScenario(const Arguments& arguments, const std::string& path) {
    const std::string name = ScenarioName(path);
    std::map<std::string, std::string> variables = arguments.variables;
    if (!arguments.workFolder.empty()) {
        const std::string folder = arguments.workFolder + "\\" + name;
        CreateDirectoryA(folder.c_str(), nullptr);
        variables["DIR"] = folder;
        variables["OUT"] = folder + "\\out";
    }
    std::printf("scenario %s\n", name.c_str());
    std::fflush(stdout);
    const auto started = std::chrono::steady_clock::now();
    bool passed = false;
    try {
        const std::vector<usbwiz::Step> steps =
            usbwiz::ParseScenario(path, variables, ReadScenarioFile);
        usbwiz::ScenarioRunner runner(arguments.options);
        passed = runner.Run(steps);
    } catch (const usbwiz::ScenarioError& error) {
        std::printf("FAIL  the scenario cannot be read: %s\n", error.what());
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("RESULT %s %s (%.1f s)\n", passed ? "PASS" : "FAIL", name.c_str(), seconds);
    std::fflush(stdout);
    return passed;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const Arguments arguments = ParseArguments(argc, argv);
        int failed = 0;
        for (const std::string& scenario : arguments.scenarios)
            if (!PlayScenario(arguments, scenario)) ++failed;
        std::printf("%zu scenarios, %d failed\n", arguments.scenarios.size(), failed);
        return failed == 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::printf("driver error: %s\n", error.what());
        return 2;
    }
}
