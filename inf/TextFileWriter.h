#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace usbwiz {

// A file of the package that could not be written: where, the operating system's reason, and
// the icon its message carries (a warning for the VxD INF, an error for every other file).
struct WriteFailure {
    std::string path;
    std::string reason;
    MessageIcon icon = MessageIcon::Error;
};

// Writes a finished text (or payload) to `path` in one piece; what failed, or nullopt. A failed
// write or close counts like a failed open: never as written.
std::optional<WriteFailure> WritePackageFile(Platform& platform, const std::string& path,
                                             std::string_view bytes,
                                             MessageIcon failureIcon = MessageIcon::Error);

}  // namespace usbwiz
