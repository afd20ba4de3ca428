#pragma once

#include <optional>
#include <string>

namespace usbwiz {

// Why a test certificate cannot go into `folder`, or nullopt when it can; nothing is written.
// The folder must be named; lie outside the package's folder `packageFolder` (when one is
// given), compared as the system resolves them (another spelling, a symbolic link or, on Windows,
// another letter case of a folder inside the package is seen for what it is); and take a new file.
// Paths are as this system's file calls take them.
std::optional<std::string> WhyNoTestCertificateFolder(const std::string& folder,
                                                      const std::string& packageFolder);

}  // namespace usbwiz
