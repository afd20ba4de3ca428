#include <windows.h>

#include "platform/FolderChecks.h"
#include "platform/Platform.h"
#include "platform/TemporaryName.h"
#include "platform/Win32Platform.h"

namespace usbwiz {

namespace {

// The program's paths are in the ANSI code page, as its A calls take them.
std::wstring Wide(const std::string& text) {
    const int size =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                        nullptr, nullptr);
    return text;
}

// The length of the part of a full path that names no folder: "C:\" or "\\server\share\".
std::size_t RootLength(const std::wstring& full) {
    if (full.rfind(L"\\\\", 0) != 0) return full.size() >= 3 ? 3 : full.size();
    const std::size_t server = full.find(L'\\', 2);
    const std::size_t share = server == std::wstring::npos ? server : full.find(L'\\', server + 1);
    return share == std::wstring::npos ? full.size() : share + 1;
}

// The final path of an existing file-system entry (links and junctions followed), in DOS form.
std::optional<std::wstring> FinalPath(const std::wstring& path) {
    const HANDLE entry =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (entry == INVALID_HANDLE_VALUE) return std::nullopt;
    std::wstring final(MAX_PATH, L'\0');
    DWORD size = GetFinalPathNameByHandleW(entry, final.data(), static_cast<DWORD>(final.size()),
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (size >= final.size()) {
        final.resize(size);
        size = GetFinalPathNameByHandleW(entry, final.data(), static_cast<DWORD>(final.size()),
                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    CloseHandle(entry);
    if (size == 0 || size >= final.size()) return std::nullopt;
    final.resize(size);
    if (final.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + final.substr(8);
    if (final.rfind(L"\\\\?\\", 0) == 0) return final.substr(4);
    return final;
}

// What `get` answers as GetFullPathName does: the text's length, or the size it needs when the
// buffer is too small (then asked once more with that size); nullopt when it fails.
template <typename Text, typename Get>
std::optional<Text> Grown(Get get) {
    Text text(MAX_PATH, 0);
    DWORD size = get(text);
    if (size >= text.size()) {
        text.resize(size);
        size = get(text);
    }
    if (size == 0 || size >= text.size()) return std::nullopt;
    text.resize(size);
    return text;
}

}  // namespace

std::optional<std::string> ComparablePath(const std::string& path) {
    if (path.empty()) return std::nullopt;
    // Windows resolves '.' and '..' by the names alone, before any link.
    const std::wstring given = Wide(path);
    std::optional<std::wstring> formed = Grown<std::wstring>([&](std::wstring& buffer) {
        return GetFullPathNameW(given.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(),
                                nullptr);
    });
    if (!formed) return std::nullopt;
    std::wstring& full = *formed;
    while (full.size() > RootLength(full) && full.back() == L'\\') full.pop_back();

    // The longest part that exists, resolved; the rest as it would be made.
    std::wstring existing = full, rest;
    std::optional<std::wstring> resolved;
    while (!(resolved = FinalPath(existing))) {
        const std::size_t cut = existing.find_last_of(L'\\');
        if (cut == std::wstring::npos || cut < RootLength(existing)) {
            resolved = existing;
            break;
        }
        rest = existing.substr(cut) + rest;
        existing.resize(cut);
    }
    std::wstring comparable = *resolved + rest;
    while (!comparable.empty() && comparable.back() == L'\\') comparable.pop_back();
    // Names are compared without case: one case for all.
    LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, comparable.c_str(),
                  static_cast<int>(comparable.size()), comparable.data(),
                  static_cast<int>(comparable.size()), nullptr, nullptr, 0);
    return Utf8(comparable);
}

std::optional<std::string> FullPath(const std::string& path) {
    if (path.empty()) return std::nullopt;
    std::optional<std::string> full = Grown<std::string>([&](std::string& buffer) {
        return GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(),
                                nullptr);
    });
    while (full && full->size() > 3 && full->back() == '\\') full->pop_back();
    return full;
}

std::optional<std::string> WhyFolderTakesNoFile(const std::string& folder) {
    std::wstring at = Wide(folder.empty() ? "." : folder);
    while (at.size() > 1 && (at.back() == L'\\' || at.back() == L'/')) at.pop_back();
    DWORD attributes = 0;
    while ((attributes = GetFileAttributesW(at.c_str())) == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        const std::size_t cut = at.find_last_of(L"\\/");
        std::wstring parent = cut == std::wstring::npos         ? L"."
                              : cut == 0 || at[cut - 1] == L':' ? at.substr(0, cut + 1)
                                                                : at.substr(0, cut);
        if ((error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) || parent == at) {
            SetLastError(error);
            return LastErrorText();
        }
        at = std::move(parent);
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return Utf8(at) + " is not a folder";
    if (at.back() != L'\\' && at.back() != L'/') at += L'\\';
    HANDLE file = INVALID_HANDLE_VALUE;
    // A temporary name another run holds (or left behind) is passed over, as StageFile does.
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        file =
            CreateFileW((at + Wide(TemporaryFileName())).c_str(), GENERIC_WRITE, 0, nullptr,
                        CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (file == INVALID_HANDLE_VALUE) return LastErrorText();
    CloseHandle(file);
    return std::nullopt;
}

}  // namespace usbwiz
