#include "pages/BrowseForOutputDirectory.h"

namespace usbwiz {

std::string BrowseForOutputDirectory(Platform& platform) {
    return platform.BrowseForFolder(std::string(kBrowseForOutputTitle))
        .value_or(std::string(kNoDirectorySelected));
}

}  // namespace usbwiz
