#pragma once

#include <optional>
#include <string>

#include "generate/StagedRun.h"
#include "platform/Platform.h"

namespace usbwiz {

// A directory level that could be neither found nor created, and the system's reason.
struct DirectoryFailure {
    std::string path;
    std::string reason;
};

// Makes sure `directory` exists, creating every missing level from the outermost inwards (the
// wizard's Yes to "create it?") as `run`'s own, so that a run that fails removes them again.
// Stops at the first level that can be neither found nor created. An existing file counts as
// existing, as in the wizard: generation then reports the first file it cannot write.
std::optional<DirectoryFailure> CreateOutputDirectory(Platform& platform, StagedRun& run,
                                                      const std::string& directory, char separator);

}  // namespace usbwiz
