#include "cli/CreateOutputDirectory.h"

#include "cli/NativePath.h"

namespace usbwiz {

std::optional<DirectoryFailure> CreateOutputDirectory(Platform& platform, StagedRun& run,
                                                      const std::string& directory,
                                                      char separator) {
    for (const std::string& level : DirectoryLevels(directory, separator)) {
        if (platform.PathExists(level)) continue;
        FileResult made = run.MakeDirectory(level);
        // Another process may have made it in the meantime; that is as good as making it, and
        // it is not ours to remove.
        if (!made && !platform.PathExists(level))
            return DirectoryFailure{level, std::move(made.failure)};
    }
    return std::nullopt;
}

}  // namespace usbwiz
