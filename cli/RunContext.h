#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

namespace usbwiz {

// An environment variable's value; nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;

// What a run reads and writes besides its files: the program's standard streams, its
// environment (SOURCE_DATE_EPOCH, a password variable) and the clock. main passes the
// process's own; tests pass their own.
struct RunContext {
    std::istream& in;  // a password on its first line, with --sign-password-stdin
    std::ostream& out;
    std::ostream& errors;
    EnvironmentLookup environment;
    std::function<std::int64_t()> now;  // seconds since 1970
};

}  // namespace usbwiz
