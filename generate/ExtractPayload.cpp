#include "generate/ExtractPayload.h"

#include "inf/TextFileWriter.h"

namespace usbwiz {

std::string PayloadOutputPath(const WizardSettings& settings, std::string_view fileName) {
    const std::string_view ext = fileName.substr(fileName.size() < 3 ? 0 : fileName.size() - 3);
    const bool bare = ext == "exe" || ext == "sys" || ext == "vxd";
    std::string path = settings.GenerationDirectory;
    if (!bare) path += settings.InfPrefix;
    path += fileName;
    return path;
}

int ExtractPayload(const WizardSettings& settings, std::string_view fileName, PayloadId id,
                   Platform& platform, const PayloadStore& store) {
    const std::optional<std::string_view> bytes = store.Find(id);
    if (!bytes) {
        // A build without this payload: report it like a file that cannot be written, and
        // leave no empty file behind that could pass for the real one.
        platform.ShowMessage({std::string(kOpenFailedMessage), std::nullopt, MessageIcon::Error,
                              MessageButtons::Ok, nullptr});
        return 0;
    }
    return WriteWholeFileOrReport(platform, PayloadOutputPath(settings, fileName), *bytes);
}

}  // namespace usbwiz
