#include <windows.h>
// windows.h first: the shell header builds on it.
#include <shellapi.h>

#include "platform/TextEncoding.h"
#include "platform/WindowsCodePages.h"

namespace usbwiz {

namespace {

std::wstring Wide(std::string_view text, UINT codePage) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), n);
    return wide;
}

// nullopt when a character has no byte sequence in the code page: no best-fit substitutes,
// which would turn a typed character into another one (or into '?').
std::optional<std::string> Narrow(std::wstring_view wide, UINT codePage) {
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0,
                                      nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return std::nullopt;
    std::string narrow(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, narrow.data(), n,
                        nullptr, &usedDefault);
    return narrow;
}

std::size_t Utf8Length(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace

unsigned SystemCodePage() {
    return GetACP();
}

unsigned FileNameCodePage() {
    return GetACP();
}

bool IsSupportedCodePage(unsigned codePage) {
    return IsWindowsAnsiCodePage(codePage) && IsValidCodePage(codePage) != 0;
}

CodePageText FromUtf8(std::string_view utf8, unsigned codePage) {
    // One character at a time, so that a refusal can name the character.
    CodePageText result;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t length = Utf8Length(static_cast<unsigned char>(utf8[at]));
        const std::optional<std::string> bytes =
            Narrow(Wide(utf8.substr(at, length), CP_UTF8), codePage);
        if (!bytes) return {{}, at};
        result.bytes += *bytes;
        at += length;
    }
    return result;
}

std::optional<std::string> ToUtf8(std::string_view text, unsigned codePage) {
    if (text.empty()) return std::string();
    const std::wstring wide = Wide(text, codePage);
    if (wide.empty()) return std::nullopt;
    return Narrow(wide, CP_UTF8);
}

std::optional<std::string> NativeFileName(std::string_view name, unsigned codePage) {
    if (codePage == GetACP()) return std::string(name);
    return Narrow(Wide(name, codePage), CP_ACP);
}

std::optional<std::string> NativePathFromUtf8(std::string_view utf8) {
    return Narrow(Wide(utf8, CP_UTF8), CP_ACP);
}

std::optional<std::string> Utf8FromNativePath(std::string_view native) {
    const std::wstring wide = Wide(native, CP_ACP);
    if (wide.empty() && !native.empty()) return std::nullopt;
    return Narrow(wide, CP_UTF8);
}

std::vector<std::string> ProgramArguments(int, char**) {
    // The ANSI argv has already lost what the ANSI code page cannot hold.
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) args.push_back(Narrow(wide[i], CP_UTF8).value_or(""));
    LocalFree(wide);
    return args;
}

}  // namespace usbwiz
