#include "pages/BrowseForOutputDirectory.h"

namespace usbwiz {

BrowsedFolder BrowseForOutputDirectory(Platform& platform, WindowRef owner) {
    return platform.BrowseForFolder(std::string(kBrowseForOutputTitle), owner);
}

std::string FolderNotInCodePageMessage(unsigned codePage) {
    return "The chosen folder's name cannot be written in this system's code page (" +
           std::to_string(codePage) + "). Choose or type another folder.";
}

}  // namespace usbwiz
