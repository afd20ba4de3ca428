#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace usbwiz {

inline constexpr std::string_view kBrowseForOutputTitle =
    "Select a Folder to Generate Your Setup Files In:";

// The folder the user picks in the platform's folder browser, which `owner` waits for; nullopt
// when the browser is cancelled or the choice has no file-system path.
std::optional<std::string> BrowseForOutputDirectory(Platform& platform, WindowRef owner);

}  // namespace usbwiz
