#pragma once

#include <ostream>
#include <span>
#include <string>

#include "payload/PayloadStore.h"
#include "platform/Platform.h"

namespace usbwiz {

inline constexpr int kExitWritten = 0;
inline constexpr int kExitGenerationFailed = 1;  // also: output directory or stdout unwritable
inline constexpr int kExitRefused = 2;           // bad input; nothing was written

// The whole of usbdrvgen: `args` are the arguments after the program name; results go to `out`,
// messages to `errors`. Answers the exit status.
int RunUsbDrvGen(std::span<const std::string> args, Platform& platform,
                 const PayloadStore& payloads, std::ostream& out, std::ostream& errors);

}  // namespace usbwiz
