#include "inf/TextFileWriter.h"

namespace usbwiz {

int WriteWholeFileOrReport(Platform& platform, const std::string& path, std::string_view bytes,
                           MessageIcon icon) {
    if (platform.WriteWholeFile(path, bytes).ok) return 1;
    platform.ShowMessage(
        {std::string(kOpenFailedMessage), std::nullopt, icon, MessageButtons::Ok, nullptr});
    return 0;
}

}  // namespace usbwiz
