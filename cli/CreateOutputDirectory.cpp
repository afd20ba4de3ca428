#include "cli/CreateOutputDirectory.h"

#include "cli/NativePath.h"

namespace usbwiz {

bool CreateOutputDirectory(Platform& platform, const std::string& directory, char separator) {
    for (const std::string& level : DirectoryLevels(directory, separator)) {
        if (platform.PathExists(level)) continue;
        // Another process may have made it in the meantime; that is as good as making it.
        if (!platform.CreateOneDirectory(level) && !platform.PathExists(level)) return false;
    }
    return true;
}

}  // namespace usbwiz
