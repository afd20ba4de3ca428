#include "app/win32/ProgramTitle.h"

#include <windows.h>

namespace usbwiz {

std::string TitleFromProgramPath(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/:");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    // A name that is nothing but an extension (".exe") keeps it rather than becoming empty.
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::string(name);
}

std::string ProgramTitle() {
    // Long paths need a larger buffer than MAX_PATH; a truncated answer fills the buffer.
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return TitleFromProgramPath(path);
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

}  // namespace usbwiz
