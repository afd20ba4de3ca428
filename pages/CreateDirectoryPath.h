#pragma once

#include <string>

#include "platform/Platform.h"

namespace usbwiz {

// Creates `path` with every missing parent, from the outermost missing one inwards, one level
// at a time through the platform. The first three characters (a drive root such as "C:\") are
// never split off, so a missing drive fails. An existing directory cannot be created again.
bool CreateDirectoryPath(Platform& platform, const std::string& path);

// A directory as the pages store it: with a trailing backslash, added unless it has one.
std::string WithTrailingBackslash(std::string directory);

// Whether an entry (a directory, or a file) exists at the directory typed, looked for without
// one trailing backslash.
bool DirectoryEntryExists(Platform& platform, const std::string& directory);

}  // namespace usbwiz
