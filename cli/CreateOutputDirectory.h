#pragma once

#include <string>

#include "platform/Platform.h"

namespace usbwiz {

// Makes sure `directory` exists, creating every missing level from the outermost inwards (the
// wizard's Yes to "create it?"). Answers false at the first level that can be neither found nor
// created; the levels created before it stay. An existing file counts as existing, as in the
// wizard: generation then reports the first file it cannot write.
bool CreateOutputDirectory(Platform& platform, const std::string& directory, char separator);

}  // namespace usbwiz
