#include "generate/ExtractPayload.h"

namespace usbwiz {

std::string PayloadOutputPath(const WizardSettings& settings, std::string_view fileName) {
    const std::string_view ext = fileName.substr(fileName.size() < 3 ? 0 : fileName.size() - 3);
    const bool bare = ext == "exe" || ext == "sys" || ext == "vxd";
    std::string path = settings.GenerationDirectory;
    if (!bare) path += settings.InfPrefix;
    path += fileName;
    return path;
}

std::optional<WriteFailure> ExtractPayload(const WizardSettings& settings,
                                           std::string_view fileName, PayloadId id,
                                           Platform& platform, const PayloadStore& store) {
    const std::string path = PayloadOutputPath(settings, fileName);
    const std::optional<std::string_view> bytes = store.Find(id);
    // A build without this payload: reported like a file that cannot be written, and no empty
    // file is left behind that could pass for the real one.
    if (!bytes)
        return WriteFailure{path, "payload " + std::to_string(id) + " is not in this build"};
    return WritePackageFile(platform, path, *bytes);
}

}  // namespace usbwiz
