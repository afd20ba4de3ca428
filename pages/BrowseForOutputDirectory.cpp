#include "pages/BrowseForOutputDirectory.h"

namespace usbwiz {

BrowsedFolder BrowseForOutputDirectory(Platform& platform, WindowRef owner) {
    return platform.BrowseForFolder(std::string(kBrowseForOutputTitle), owner);
}

}  // namespace usbwiz
