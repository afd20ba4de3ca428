#include "cli/NativePath.h"

#include <algorithm>

#include "platform/FolderChecks.h"
#include "platform/TextEncoding.h"

namespace usbwiz {

std::string NativeDirectoryText(std::string_view text, char separator) {
    std::string native(text);
    if (separator == '\\') std::replace(native.begin(), native.end(), '/', '\\');
    return native;
}

std::string AsWizardPath(std::string_view text, char separator) {
    std::string wizard(text);
    std::replace(wizard.begin(), wizard.end(), separator, '\\');
    return wizard;
}

std::string WithTrailingSeparator(std::string text, char separator) {
    if (text.empty() || text.back() != separator) text += separator;
    return text;
}

std::string WorkingDirectory(const std::string& directory) {
    if (kNativeSeparator != '\\') return directory;
    return FullPath(directory).value_or(directory);
}

std::vector<std::string> DirectoryLevels(std::string_view directory, char separator) {
    while (!directory.empty() && directory.back() == separator) directory.remove_suffix(1);

    // A UNC path's server and share are roots as well.
    std::size_t rootComponents = 0;
    if (separator == '\\' && directory.starts_with("\\\\")) rootComponents = 2;

    std::vector<std::string> levels;
    std::size_t components = 0;
    for (std::size_t end = 0; end <= directory.size(); ++end) {
        if (end < directory.size() && directory[end] != separator) continue;
        const std::string_view level = directory.substr(0, end);
        const bool emptyComponent = end == 0 || directory[end - 1] == separator;
        if (emptyComponent) continue;
        ++components;
        if (components <= rootComponents || level.back() == ':') continue;
        levels.emplace_back(level);
    }
    return levels;
}

std::optional<std::string> NativeOutputPath(const std::string& path, std::string_view directory,
                                            unsigned codePage) {
    if (directory.empty() || !path.starts_with(directory)) return path;
    const std::optional<std::string> name =
        NativeFileName(std::string_view(path).substr(directory.size()), codePage);
    if (!name) return std::nullopt;
    return std::string(directory) + *name;
}

}  // namespace usbwiz
