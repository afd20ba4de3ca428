#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace usbwiz {

// What a folder the package is written into may be called, as Windows names folders. Both the
// wizard (in the ANSI code page, '\' between levels) and usbdrvgen (its own system's paths) ask
// here, so that a folder one of them accepts is never one the other, or Windows, fails on part
// way.

// Windows' MAX_PATH counts the terminating NUL: a path has at most 259 characters.
inline constexpr std::size_t kMaxPath = 260;
inline constexpr std::size_t kLongestWindowsPath = kMaxPath - 1;

// The "code page" of UTF-8 texts (POSIX paths), as Windows numbers it.
inline constexpr unsigned kUtf8CodePage = 65001;

// Why a folder level of `folder` cannot be a folder on Windows, as "folder 'C:\x\CON': 'CON' is
// not allowed (...)", naming the path up to that level; nullopt when every level can. Refused:
// a name ending in a blank or a dot (Windows drops them, and makes or opens another folder), a
// ':' anywhere but a leading drive, and a device name (NameRules). Levels are split at
// `separator`; "." and "..", a drive and a UNC server and share are not names of their own.
// `codePage` says how to read `folder` (a double-byte character's second byte may be '\').
std::optional<std::string> FindFolderRefusal(std::string_view folder, char separator,
                                             unsigned codePage);

// The characters Windows counts in `text` (UTF-16 units), which is in `codePage`.
std::size_t WindowsLength(std::string_view text, unsigned codePage);

// Why the folder whose full path is `fullFolder` cannot hold files named `names` (every name a
// run writes there, its temporary names included), naming the longest path and the limit;
// nullopt when each path stays within kLongestWindowsPath. A '/' system's path is counted as
// Windows would name it on a drive whose root it is ("Z:" in front, as Wine maps /), so that
// both builds take the same folders.
std::optional<std::string> FindTooLongPath(std::string_view fullFolder,
                                           std::span<const std::string> names, char separator,
                                           unsigned codePage);

}  // namespace usbwiz
