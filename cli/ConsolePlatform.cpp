#include "cli/ConsolePlatform.h"

#include "cli/SystemErrorText.h"

namespace usbwiz {

MessageAnswer ConsolePlatform::ShowMessage(const MessageRequest& request) {
    errors_ << request.text << '\n';
    // No one can answer a question, and no answer may be taken for a yes.
    return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

FileWriteResult ConsolePlatform::WriteWholeFile(const std::string& path, std::string_view bytes) {
    FileWriteResult result = system_.WriteWholeFile(path, bytes);
    if (!result.ok) lastFailure_ = FailedPath{path, result.failure};
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
