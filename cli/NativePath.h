#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace usbwiz {

// The separator the operating system's paths use; the wizard's paths always use '\'.
#ifdef _WIN32
inline constexpr char kNativeSeparator = '\\';
#else
inline constexpr char kNativeSeparator = '/';
#endif

// The --out text as the program uses it. With '\' as separator a '/' becomes '\' (Windows
// accepts both, the wizard's path rule only the backslash); otherwise unchanged.
std::string NativeDirectoryText(std::string_view text, char separator);

// A copy with every `separator` written as '\', so the wizard's path rule can read it.
std::string AsWizardPath(std::string_view text, char separator);

// `text` ending in one separator, added when missing (the producers put names right behind it).
std::string WithTrailingSeparator(std::string text, char separator);

// Every directory from the outermost to `directory` itself that may have to be created, without
// the roots that cannot be: "/", a drive ("C:"), or a UNC server and share ("\\host\share").
std::vector<std::string> DirectoryLevels(std::string_view directory, char separator);

// A path the core formed, `directory` (a path of this system) followed by a file name in the
// package's code page, as this system's file calls take it: the name in UTF-8 on POSIX systems.
// Other paths come back unchanged; nullopt when this system cannot name the file.
std::optional<std::string> NativeOutputPath(const std::string& path, std::string_view directory,
                                            unsigned codePage);

}  // namespace usbwiz
