// Writes the virtual COM port package and the Ferrolink package, each with its defaults, from
// this program's own embedded payloads through the platform of its build: FOLDER/com-port and
// FOLDER/ferrolink. The native and the Windows build of it must write the same bytes.
// Usage: GenerateBothPackages FOLDER (on Windows a Windows path, e.g. Z:\tmp\out)
#include <cstdint>
#include <iostream>
#include <string>

#include "generate/GeneratePackage.h"
#include "payload/PayloadStore.h"
#include "settings/WizardSettings.h"

#ifdef _WIN32
#include "platform/Win32Platform.h"
#else
#include "platform/PosixPlatform.h"
#endif

namespace usbwiz {

namespace {

#ifdef _WIN32
using BuildPlatform = Win32Platform;
constexpr char kSeparator = '\\';
#else
using BuildPlatform = PosixPlatform;
constexpr char kSeparator = '/';
#endif

// The build's own file operations, with every file put in place reported and every message sent
// to the console: a message box would wait for a click that never comes.
class ConsolePlatform final : public BuildPlatform {
  public:
    MessageAnswer ShowMessage(const MessageRequest& request) override {
        std::cerr << request.text << '\n';
        return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }

    FileResult CommitStagedFile(const StagedFile& file) override {
        FileResult result = BuildPlatform::CommitStagedFile(file);
        if (result.ok)
            std::cout << "wrote " << file.path << '\n';
        else
            std::cerr << file.path << ": " << result.failure << '\n';
        return result;
    }
};

bool EnsureDirectory(Platform& platform, const std::string& path) {
    if (platform.PathExists(path) || platform.CreateOneDirectory(path)) return true;
    std::cerr << "cannot create the folder " << path << '\n';
    return false;
}

bool GenerateDefaultPackage(Platform& platform, Package kind, const std::string& folder) {
    if (!EnsureDirectory(platform, folder)) return false;
    WizardSettings settings;
    ApplyPackageDefaults(settings, kind, platform.WindowsDirectory());
    settings.GenerationDirectory = folder + kSeparator;
    const GenerationOutcome outcome = GeneratePackage(settings, platform, EmbeddedPayloads());
    if (outcome.failure) std::cerr << kOpenFailedMessage << ' ' << outcome.failure->path << '\n';
    std::cout << (outcome.written ? kGenerationSucceededMessage : kGenerationFailedMessage) << '\n';
    return outcome.written;
}

}  // namespace

}  // namespace usbwiz

int main(int argc, char** argv) {
    using namespace usbwiz;
    if (argc != 2 || argv[1][0] == '\0') {
        std::cerr << "usage: GenerateBothPackages FOLDER\n";
        return 2;
    }
    std::string folder = argv[1];
    // Strip trailing separators except from a root ("/", "Z:\"), which exists already.
    while (folder.size() > 1 && folder.back() == kSeparator && folder[folder.size() - 2] != ':')
        folder.pop_back();
    const bool isRoot = folder.back() == kSeparator;
    const std::string prefix = isRoot ? folder : folder + kSeparator;

    ConsolePlatform platform;
    if (!isRoot && !EnsureDirectory(platform, folder)) return 1;
    const bool comPort = GenerateDefaultPackage(platform, Package::ComPort, prefix + "com-port");
    const bool ferrolink =
        comPort && GenerateDefaultPackage(platform, Package::Ferrolink, prefix + "ferrolink");
    return comPort && ferrolink ? 0 : 1;
}
