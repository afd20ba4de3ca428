#pragma once

#include <string>

namespace usbwiz {

struct FileText {
    std::string text;
    std::string error;  // the system's reason, or "larger than 1 MiB"; empty when read
};

// The whole of a file the user names (a settings file, a certificate or key). These are a few
// kilobytes; anything over 1 MiB is not one (and /dev/zero would never end). `path` is UTF-8.
FileText ReadSmallFile(const std::string& path);

}  // namespace usbwiz
