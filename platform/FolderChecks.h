#pragma once

#include <optional>
#include <string>

namespace usbwiz {

// Questions about folders that spelling alone cannot answer. Paths are as this system's file
// calls take them.

// The folder `path` names, absolute, with '.', '..' and symbolic links resolved as far as the
// folders exist and the rest appended as given, in a form in which two paths of one folder
// are equal (on Windows, where names are compared without case, in upper case); nullopt when
// it cannot be resolved. Always without a trailing separator.
std::optional<std::string> ComparablePath(const std::string& path);

// The absolute path `path` names, as Windows forms it before it opens anything: from the
// current folder, with '.' and '..' taken by name; without a trailing separator unless it is a
// root. nullopt when it cannot be formed.
std::optional<std::string> FullPath(const std::string& path);

// Why no new file can be made in `folder`, or nullopt when one can. A folder that does not exist
// yet is judged by the nearest one above it that does, where it would be made. Probed by making
// a file of our own there (named as the write path's temporary files) and removing it at once.
std::optional<std::string> WhyFolderTakesNoFile(const std::string& folder);

// The separator ComparablePath writes between names.
#ifdef _WIN32
inline constexpr char kComparableSeparator = '\\';
#else
inline constexpr char kComparableSeparator = '/';
#endif

}  // namespace usbwiz
