#include "cli/NativeNamesPlatform.h"

#include "cli/NativePath.h"

namespace usbwiz {

Staging NativeNamesPlatform::StageFile(const std::string& path, std::string_view bytes) {
    // Runs check every name before anything is written, so a name that cannot be expressed
    // does not get here; should one, the system refuses the unchanged bytes.
    return system_.StageFile(NativeOutputPath(path, directory_, codePage_).value_or(path), bytes);
}

}  // namespace usbwiz
