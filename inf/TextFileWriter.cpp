#include "inf/TextFileWriter.h"

namespace usbwiz {

std::optional<WriteFailure> WritePackageFile(Platform& platform, const std::string& path,
                                             std::string_view bytes, MessageIcon failureIcon) {
    FileResult result = platform.WriteWholeFile(path, bytes);
    if (result) return std::nullopt;
    return WriteFailure{path, std::move(result.failure), failureIcon};
}

}  // namespace usbwiz
