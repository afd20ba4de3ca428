#pragma once

#include <string>

namespace usbwiz {

// A new name for a temporary file of ours, "~usbwiz-PID-N.tmp": recognisably ours, and never a
// name of a package (those end in .inf, .ini, .u98, .u2k, .cat, .cer, .exe, .sys or .vxd).
// Every temporary name of a platform comes from its one definition of this.
std::string TemporaryFileName();

}  // namespace usbwiz
