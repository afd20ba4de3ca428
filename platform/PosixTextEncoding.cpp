#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "platform/TextEncoding.h"
#include "platform/WindowsCodePages.h"
#include "settings/FolderRules.h"

namespace usbwiz {

namespace {

struct Converted {
    std::string bytes;
    std::optional<std::size_t> failedAt;
};

// glibc's iconv knows the Windows code pages as CPnnn and, without //TRANSLIT, refuses what a
// code page cannot hold instead of guessing.
Converted Convert(std::string_view in, const std::string& to, const std::string& from) {
    const iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return {{}, 0};
    const std::unique_ptr<void, int (*)(iconv_t)> closer(cd, iconv_close);

    std::string out(in.size() * 4 + 4, '\0');    // no character grows beyond four bytes here
    char* inPtr = const_cast<char*>(in.data());  // iconv's signature; it never writes there
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
        return {{}, static_cast<std::size_t>(inPtr - in.data())};
    out.resize(out.size() - outLeft);
    return {std::move(out), std::nullopt};
}

std::string IconvName(unsigned codePage) {
    return "CP" + std::to_string(codePage);
}

// Every Windows ANSI code page agrees with UTF-8 on ASCII, and nearly every name is ASCII:
// loading a converter for it would cost a short run more than writing its package.
bool IsPlainAscii(std::string_view text, unsigned codePage) {
    return IsWindowsAnsiCodePage(codePage) &&
           std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

}  // namespace

unsigned SystemCodePage() {
    return 1252;
}

unsigned FileNameCodePage() {
    return kUtf8CodePage;
}

bool IsSupportedCodePage(unsigned codePage) {
    return IsWindowsAnsiCodePage(codePage);
}

CodePageText FromUtf8(std::string_view utf8, unsigned codePage) {
    if (IsPlainAscii(utf8, codePage)) return {std::string(utf8), std::nullopt};
    Converted converted = Convert(utf8, IconvName(codePage), "UTF-8");
    return {std::move(converted.bytes), converted.failedAt};
}

std::optional<std::string> ToUtf8(std::string_view text, unsigned codePage) {
    if (IsPlainAscii(text, codePage)) return std::string(text);
    Converted converted = Convert(text, "UTF-8", IconvName(codePage));
    if (converted.failedAt) return std::nullopt;
    return std::move(converted.bytes);
}

std::optional<std::string> NativeFileName(std::string_view name, unsigned codePage) {
    return ToUtf8(name, codePage);
}

std::optional<std::string> NativePathFromUtf8(std::string_view utf8) {
    return std::string(utf8);  // file names are bytes here; UTF-8 is what the user sees
}

std::optional<std::string> Utf8FromNativePath(std::string_view native) {
    return std::string(native);
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace usbwiz
