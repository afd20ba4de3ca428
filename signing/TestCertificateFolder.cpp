#include "signing/TestCertificateFolder.h"

#include "platform/FolderChecks.h"

namespace usbwiz {

std::optional<std::string> WhyNoTestCertificateFolder(const std::string& folder,
                                                      const std::string& packageFolder) {
    if (folder.empty()) return "the folder's name is empty";
    const std::optional<std::string> resolved = ComparablePath(folder);
    if (!resolved) return "cannot tell where the folder is";
    if (!packageFolder.empty()) {
        const std::optional<std::string> package = ComparablePath(packageFolder);
        if (!package) return "cannot tell where the package's folder is";
        if (*resolved == *package || resolved->starts_with(*package + kComparableSeparator) ||
            *package == std::string(1, kComparableSeparator))
            return "the folder lies in the package's folder; keep the certificate out of the "
                   "package";
    }
    if (std::optional<std::string> why = WhyFolderTakesNoFile(folder)) return *why;
    return std::nullopt;
}

}  // namespace usbwiz
