#pragma once

#include <string>

#include "platform/Platform.h"

namespace usbwiz {

// A file of the package that could not be written: where, the operating system's reason, and
// the icon its message carries (a warning for the VxD INF, an error for every other file).
struct WriteFailure {
    std::string path;
    std::string reason;
    MessageIcon icon = MessageIcon::Error;
};

}  // namespace usbwiz
