#pragma once

#include <string>

#include "platform/Platform.h"

namespace usbwiz {

// Creates `path` with every missing parent, from the outermost missing one inwards, one level
// at a time through the platform. The first three characters (a drive root such as "C:\") are
// never split off, so a missing drive fails. An existing directory cannot be created again.
bool CreateDirectoryPath(Platform& platform, const std::string& path);

}  // namespace usbwiz
