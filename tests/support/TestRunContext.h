#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "cli/RunContext.h"

namespace usbwiz::testing {

// A run's inputs and outputs for tests: standard input holds `input`, the environment holds
// only `environment`, and the clock stands still.
struct TestRunContext {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream errors;
    std::map<std::string, std::string> environment;
    std::int64_t now = 1767225600;  // 2026-01-01

    RunContext Context() {
        return {in, out, errors,
                [this](const std::string& name) -> std::optional<std::string> {
                    const auto found = environment.find(name);
                    if (found == environment.end()) return std::nullopt;
                    return found->second;
                },
                [this] { return now; }};
    }
};

}  // namespace usbwiz::testing
