#include "pages/BrowseForOutputDirectory.h"

namespace usbwiz {

std::optional<std::string> BrowseForOutputDirectory(Platform& platform, WindowRef owner) {
    return platform.BrowseForFolder(std::string(kBrowseForOutputTitle), owner);
}

}  // namespace usbwiz
