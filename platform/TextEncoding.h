#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace usbwiz {

// Conversions between UTF-8 and the Windows ANSI code pages that package files are read in,
// exact as Windows converts them (no best-fit substitutes).

// The ANSI code page of this system's 8-bit texts: GetACP() on Windows; 1252 elsewhere, where
// nothing says which Windows a package is for.
unsigned SystemCodePage();

// The code page of this system's file names as its file calls take them: the ANSI code page on
// Windows, UTF-8 (kUtf8CodePage) elsewhere.
unsigned FileNameCodePage();

// Whether the conversions below know `codePage`.
bool IsSupportedCodePage(unsigned codePage);

struct CodePageText {
    std::string bytes;
    std::optional<std::size_t> unmappableAt;  // offset in the UTF-8 input of a character the
                                              // code page cannot hold; bytes are then empty
};

// `utf8` must be valid UTF-8.
CodePageText FromUtf8(std::string_view utf8, unsigned codePage);

// `text` of `codePage` as UTF-8; nullopt for bytes the code page does not define.
std::optional<std::string> ToUtf8(std::string_view text, unsigned codePage);

// The name of a package file (field texts in `codePage`) as this system's file calls take it:
// UTF-8 on POSIX systems, the ANSI code page on Windows. nullopt when this system cannot name it.
std::optional<std::string> NativeFileName(std::string_view name, unsigned codePage);

// A path typed by the user (UTF-8) as this system's file calls take it; nullopt when it cannot.
std::optional<std::string> NativePathFromUtf8(std::string_view utf8);

// A name as this system's file calls give it (FolderEntries), in UTF-8; nullopt when it is not
// text of this system's file names.
std::optional<std::string> Utf8FromNativePath(std::string_view native);

// The program's arguments after its name, in UTF-8: as given on POSIX systems (where they are
// UTF-8), read as wide text and converted on Windows.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace usbwiz
