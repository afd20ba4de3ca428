#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace usbwiz {

// The first argument that makes usbdrvgen check a package instead of writing one.
inline constexpr std::string_view kVerifyCommand = "verify";

// The options verify takes, beside the folder.
inline constexpr std::string_view kRootOption = "--root";
inline constexpr std::string_view kJsonOption = "--json";

// usbdrvgen verify DIR [--root CERT]... [--json]: `args` are the arguments after "verify", `now`
// the time certificates are judged at. The report goes to `out`, refusals to `errors`. Answers
// the exit status: 0 every check passed, 1 one failed, 2 the folder or a root cannot be used.
int RunVerifyCommand(std::span<const std::string> args, Platform& platform, std::int64_t now,
                     std::ostream& out, std::ostream& errors);

}  // namespace usbwiz
