#include "settings/FolderRules.h"

#include <vector>

#include "settings/NameRules.h"
#include "settings/Utf8.h"

namespace usbwiz {

namespace {

// One level of a path: its name and where it ends in the path.
struct Level {
    std::string_view name;
    std::size_t end;
};

std::vector<Level> LevelsOf(std::string_view path, char separator, unsigned codePage) {
    std::vector<Level> levels;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != separator) {
            if (IsLeadByte(codePage, static_cast<unsigned char>(path[i])) && i + 1 < path.size())
                ++i;  // the second byte of a double-byte character is never a separator
            continue;
        }
        levels.push_back({path.substr(start, i - start), i});
        start = i + 1;
    }
    return levels;
}

bool IsDrive(std::string_view name) {
    const char letter = name.empty() ? '\0' : name[0];
    return name.size() == 2 && name[1] == ':' &&
           ((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z'));
}

// Why `name`, a level of a path (the first when `first`, of a Windows path when `windows`),
// cannot name a folder; nullopt when it can or is no folder's name of its own.
std::optional<std::string> WhyNoFolderName(std::string_view name, bool first, bool windows) {
    if (name.empty() || name == "." || name == "..") return std::nullopt;
    if (first && windows) {
        if (IsDrive(name)) return std::nullopt;
        const std::size_t drive = name.find_first_not_of(' ');
        if (drive != std::string_view::npos && IsDrive(name.substr(drive)))
            return NotAllowed("a blank before the drive",
                              "Windows then reads the path as a folder of the current one");
    }
    constexpr std::string_view kDropped = "Windows drops it from the name";
    if (name.ends_with(' ')) return NotAllowed("a blank at the end", kDropped);
    if (name.ends_with('.')) return NotAllowed("a dot at the end", kDropped);
    if (name.find(':') != std::string_view::npos)
        return NotAllowed(DescribeCharacter(':'), kFileNameCharacterWhy);
    return FindDeviceName(name);
}

}  // namespace

std::optional<std::string> FindFolderRefusal(std::string_view folder, char separator,
                                             unsigned codePage) {
    const bool windows = separator == '\\';
    // "\\server\share\..." begins with two empty levels, then the server and the share.
    const std::size_t roots = windows && folder.starts_with("\\\\") ? 4 : 0;
    const std::vector<Level> levels = LevelsOf(folder, separator, codePage);
    for (std::size_t i = roots; i < levels.size(); ++i) {
        if (const std::optional<std::string> why =
                WhyNoFolderName(levels[i].name, i == 0, windows)) {
            std::string refusal = "folder '";
            refusal += folder.substr(0, levels[i].end);
            refusal += "': ";
            return refusal + *why;
        }
    }
    return std::nullopt;
}

std::size_t WindowsLength(std::string_view text, unsigned codePage) {
    std::size_t length = 0;
    for (std::size_t i = 0; i < text.size(); ++length) {
        if (codePage == kUtf8CodePage) {
            const std::optional<Utf8Character> c = DecodeUtf8(text, i);
            if (!c) {
                ++i;  // not UTF-8: a byte is as good a guess as any
                continue;
            }
            if (c->codePoint > 0xFFFF) ++length;  // a surrogate pair
            i += c->length;
        } else {
            i += IsLeadByte(codePage, static_cast<unsigned char>(text[i])) ? 2 : 1;
        }
    }
    return length;
}

std::optional<std::string> FindTooLongPath(std::string_view fullFolder,
                                           std::span<const std::string> names, char separator,
                                           unsigned codePage) {
    while (!fullFolder.empty() && fullFolder.back() == separator) fullFolder.remove_suffix(1);
    const std::size_t drive = separator == '/' ? 2 : 0;
    const std::size_t folderLength = drive + WindowsLength(fullFolder, codePage) + 1;
    const std::string* longest = nullptr;
    std::size_t longestLength = 0;
    for (const std::string& name : names) {
        const std::size_t length = folderLength + WindowsLength(name, codePage);
        if (length > longestLength) {
            longest = &name;
            longestLength = length;
        }
    }
    if (longest == nullptr || longestLength <= kLongestWindowsPath) return std::nullopt;
    std::string why = "too long for Windows: the longest path written there, ";
    why += fullFolder;
    why += separator;
    why += *longest;
    why += ", would have " + std::to_string(longestLength) + " characters";
    if (drive != 0) why += " with a drive in front, as on Windows";
    return why + ", over Windows' limit of " + std::to_string(kLongestWindowsPath) + " (MAX_PATH)";
}

}  // namespace usbwiz
