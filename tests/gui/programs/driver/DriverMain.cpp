// Drives the wizard through a scenario, as a user would, and reports the first step that does
// not get what it expects. Runs under Wine beside the wizard, which it starts and always ends.
//
// Usage: WizardDriver --program WIZARD.exe --scenario FILE [--set NAME=VALUE]...
//                     [--snapshots FOLDER] [--step-timeout SECONDS]
// Exit status: 0 every step passed, 1 a step failed, 2 the driver could not run.
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "Scenario.h"
#include "ScenarioRunner.h"
#include "WizardProcess.h"

namespace {

struct Arguments {
    std::string program;
    std::string scenario;
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
            parsed.program = value;
        } else if (option == "--scenario") {
            parsed.scenario = value;
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
    if (parsed.program.empty() || parsed.scenario.empty())
        throw std::runtime_error("--program and --scenario are needed");
    return parsed;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const Arguments arguments = ParseArguments(argc, argv);
        const std::vector<usbwiz::Step> steps =
            usbwiz::ParseScenario(ReadFile(arguments.scenario), arguments.variables);
        std::printf("scenario %s: %zu steps\n", arguments.scenario.c_str(), steps.size());
        std::fflush(stdout);

        usbwiz::WizardProcess wizard(arguments.program);
        usbwiz::ScenarioRunner runner(wizard, arguments.options);
        const bool passed = runner.Run(steps);
        if (wizard.Terminate()) std::printf("the wizard was still running: the driver ended it\n");
        std::printf(passed ? "PASS\n" : "FAILED\n");
        return passed ? 0 : 1;
    } catch (const std::exception& error) {
        std::printf("driver error: %s\n", error.what());
        return 2;
    }
}
