#include "pages/BrowseForOutputDirectory.h"

namespace usbwiz {

std::optional<std::string> BrowseForOutputDirectory(Platform& platform) {
    return platform.BrowseForFolder(std::string(kBrowseForOutputTitle));
}

}  // namespace usbwiz
