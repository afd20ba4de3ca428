#include "cli/ConsolePlatform.h"

#include "cli/NativePath.h"
#include "cli/SystemErrorText.h"

namespace usbwiz {

MessageAnswer ConsolePlatform::ShowMessage(const MessageRequest& request) {
    errors_ << request.text << '\n';
    // No one can answer a question, and no answer may be taken for a yes.
    return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

std::string ConsolePlatform::Native(const std::string& path) const {
    // Runs check every name before anything is written, so a name that cannot be expressed
    // does not get here; should one, the system refuses the unchanged bytes.
    return NativeOutputPath(path, directory_, codePage_).value_or(path);
}

FileWriteResult ConsolePlatform::WriteWholeFile(const std::string& path, std::string_view bytes) {
    const std::string native = Native(path);
    FileWriteResult result = system_.WriteWholeFile(native, bytes);
    if (!result.ok) lastFailure_ = FailedPath{native, result.failure};
    return result;
}

std::optional<std::string> ConsolePlatform::WindowsDirectory() {
    return system_.WindowsDirectory();
}

bool ConsolePlatform::PathExists(const std::string& path) {
    return system_.PathExists(path);
}

bool ConsolePlatform::CreateOneDirectory(const std::string& path) {
    if (system_.CreateOneDirectory(path)) return true;
    lastFailure_ = FailedPath{path, "cannot create directory: " + SystemErrorText()};
    return false;
}

std::optional<std::string> ConsolePlatform::BrowseForFolder(const std::string&) {
    return std::nullopt;  // a console program browses nothing: as if cancelled
}

}  // namespace usbwiz
