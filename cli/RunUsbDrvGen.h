#pragma once

#include <span>
#include <string>

#include "cli/RunContext.h"
#include "payload/PayloadStore.h"
#include "platform/Platform.h"

namespace usbwiz {

inline constexpr int kExitWritten = 0;
inline constexpr int kExitGenerationFailed = 1;  // also: output directory or stdout unwritable
inline constexpr int kExitRefused = 2;           // bad input; nothing was written

// The whole of usbdrvgen: `args` are the arguments after the program name; results go to
// `context.out`, messages to `context.errors`. Answers the exit status. Nothing ends the
// program: whatever goes wrong past the checks (an exception included) is one line on the
// error stream and exit status 1, with the output folder as it was.
int RunUsbDrvGen(std::span<const std::string> args, Platform& platform,
                 const PayloadStore& payloads, const RunContext& context);

}  // namespace usbwiz
