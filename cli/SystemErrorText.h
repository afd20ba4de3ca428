#pragma once

#include <string>

namespace usbwiz {

// The operating system's reason for the last failed call on this thread (errno, or
// GetLastError() on Windows). Read it at once: any later call may change it.
std::string SystemErrorText();

}  // namespace usbwiz
