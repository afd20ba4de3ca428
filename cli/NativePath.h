#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace usbwiz {

// The separator the operating system's paths use (the wizard's paths always use '\'), and
// whether its file names tell upper from lower case (Windows' do not).
#ifdef _WIN32
inline constexpr char kNativeSeparator = '\\';
inline constexpr bool kNamesHaveCase = false;
#else
inline constexpr char kNativeSeparator = '/';
inline constexpr bool kNamesHaveCase = true;
#endif

// The --out text as the program uses it. With '\' as separator a '/' becomes '\' (Windows
// accepts both, the wizard's path rule only the backslash); otherwise unchanged.
std::string NativeDirectoryText(std::string_view text, char separator);

// A copy with every `separator` written as '\', so the wizard's path rule can read it.
std::string AsWizardPath(std::string_view text, char separator);

// `text` ending in one separator, added when missing (the producers put names right behind it).
std::string WithTrailingSeparator(std::string text, char separator);

// The folder a run makes and writes in for `directory`, a folder of this system: on Windows its
// full path, since Windows takes '..' by name and its existence test sees neither a drive's root
// nor a '..' level; elsewhere `directory` as given, which the system resolves through links.
std::string WorkingDirectory(const std::string& directory);

// Every directory from the outermost to `directory` itself that may have to be created, without
// the roots that cannot be: "/", a drive ("C:"), or a UNC server and share ("\\host\share").
std::vector<std::string> DirectoryLevels(std::string_view directory, char separator);

// A path the core formed, `directory` (a path of this system) followed by a file name in the
// package's code page, as this system's file calls take it: the name in UTF-8 on POSIX systems.
// Other paths come back unchanged; nullopt when this system cannot name the file.
std::optional<std::string> NativeOutputPath(const std::string& path, std::string_view directory,
                                            unsigned codePage);

}  // namespace usbwiz
