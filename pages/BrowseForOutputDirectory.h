#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace usbwiz {

inline constexpr std::string_view kBrowseForOutputTitle =
    "Select a Folder to Generate Your Setup Files In:";

// The folder the user picks in the platform's folder browser, which `owner` waits for.
BrowsedFolder BrowseForOutputDirectory(Platform& platform, WindowRef owner);

// What a page says when the folder browser's choice has a name the ANSI code page `codePage`
// cannot write.
std::string FolderNotInCodePageMessage(unsigned codePage);

}  // namespace usbwiz
