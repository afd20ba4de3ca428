#include "platform/Win32Platform.h"

#include <windows.h>
// windows.h first: the shell header builds on it.
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>

#include "platform/FolderChecks.h"
#include "platform/TemporaryName.h"

namespace usbwiz {

namespace {

UINT IconFlag(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error:
            return MB_ICONERROR;
        case MessageIcon::Warning:
            return MB_ICONWARNING;
        case MessageIcon::Question:
            return MB_ICONQUESTION;
        case MessageIcon::None:
            break;
    }
    return 0;
}

FileResult Failure(const char* step) {
    return {false, std::string(step) + ": " + LastErrorText()};
}

// A temporary name in the file's folder.
std::string TemporaryNameBeside(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return (slash == std::string::npos ? "" : path.substr(0, slash + 1)) + TemporaryFileName();
}

// Another writer replacing the same name at this moment holds it for an instant, which looks
// like a sharing error; `attempt` is tried again for a short while before its error stands.
template <typename Attempt>
bool RetriedWhileBusy(Attempt attempt) {
    for (int tries = 0;; ++tries) {
        if (attempt()) return true;
        const DWORD error = GetLastError();
        if (tries == 50 || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION))
            return false;
        Sleep(5);
    }
}

}  // namespace

std::string TemporaryFileName() {
    static std::atomic<unsigned> next{
        FirstTemporaryNumber(static_cast<unsigned>(GetCurrentProcessId()))};
    return TemporaryFileName(next++);
}

std::string LastErrorText() {
    const DWORD code = GetLastError();
    char buffer[512] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, n);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty()) text = "error " + std::to_string(code);
    return text;
}

MessageAnswer Win32Platform::ShowMessage(const MessageRequest& request) {
    const UINT type =
        IconFlag(request.icon) | (request.buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK);
    const int answer = MessageBoxA(static_cast<HWND>(request.owner), request.text.c_str(),
                                   request.caption ? request.caption->c_str() : nullptr, type);
    if (answer == IDYES) return MessageAnswer::Yes;
    if (answer == IDNO) return MessageAnswer::No;
    return MessageAnswer::Ok;
}

Staging Win32Platform::StageFile(const std::string& path, std::string_view bytes) {
    // One WriteFile call takes at most 4 GiB; nothing we carry comes near that, so refuse
    // rather than write a truncated file.
    if (bytes.size() > MAXDWORD) return {{false, "cannot write: more than 4 GiB in one file"}, {}};
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);  // what opening a folder as a file answers
        return {Failure("cannot open for writing"), {}};
    }

    // The whole file goes to a name of our own beside it, which replaces the final name in one
    // step when the run commits: no reader, no run killed part way and no failure ever leaves a
    // file cut short or mixed under the final name.
    std::string temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = TemporaryNameBeside(path);
        file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (file == INVALID_HANDLE_VALUE) return {Failure("cannot open for writing"), {}};
    const auto fail = [&](const char* step) {
        FileResult failed = Failure(step);
        DeleteFileA(temporary.c_str());
        return Staging{std::move(failed), {}};
    };

    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(bytes.size());
    const BOOL wrote = WriteFile(file, bytes.data(), size, &written, nullptr);
    if (!wrote || written != size) {
        if (wrote) SetLastError(ERROR_HANDLE_DISK_FULL);  // short without an error of its own
        const DWORD writeError = GetLastError();
        CloseHandle(file);
        SetLastError(writeError);
        return fail("cannot write");
    }
    if (!CloseHandle(file)) return fail("cannot close");
    return {{true, {}}, {path, std::move(temporary)}};
}

// MoveFileEx must open the final file for deletion, which a program holding it open without
// delete sharing refuses, as does a read-only file. Opening it that way now, sharing everything
// ourselves, meets the same refusals before any file has moved; the handle is closed at once,
// so a program that opens the file after this can still make the move fail.
FileResult Win32Platform::CheckReplaceable(const StagedFile& staged) {
    if (staged.temporary.empty()) return {true, {}};
    const DWORD attributes = GetFileAttributesA(staged.path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return {true, {}};  // nothing there to replace
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);  // what the move would answer
        return Failure("cannot replace");
    }
    const bool opened = RetriedWhileBusy([&] {
        const HANDLE file = CreateFileA(staged.path.c_str(), DELETE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return GetLastError() == ERROR_FILE_NOT_FOUND;  // removed meanwhile: nothing to replace
        CloseHandle(file);
        return true;
    });
    if (!opened) return Failure("cannot replace");
    return {true, {}};
}

FileResult Win32Platform::CommitStagedFile(const StagedFile& staged) {
    if (staged.temporary.empty()) return {true, {}};
    if (!RetriedWhileBusy([&] {
            return MoveFileExA(staged.temporary.c_str(), staged.path.c_str(),
                               MOVEFILE_REPLACE_EXISTING) != 0;
        }))
        return Failure("cannot replace");
    return {true, {}};
}

void Win32Platform::DiscardStagedFile(const StagedFile& staged) {
    if (!staged.temporary.empty()) DeleteFileA(staged.temporary.c_str());
}

FileRead Win32Platform::ReadWholeFile(const std::string& path, std::size_t limit) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {false, {}, LastErrorText()};
    FileRead read;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        read.failure = LastErrorText();
    } else if (static_cast<unsigned long long>(size.QuadPart) > limit) {
        read.tooLarge = true;
    } else {
        read.bytes.resize(static_cast<std::size_t>(size.QuadPart));
        // ReadFile takes at most 4 GiB at a time.
        std::size_t done = 0;
        while (done < read.bytes.size()) {
            DWORD got = 0;
            const DWORD want =
                static_cast<DWORD>(std::min<std::size_t>(read.bytes.size() - done, 1u << 30));
            if (!ReadFile(file, read.bytes.data() + done, want, &got, nullptr)) {
                read.failure = LastErrorText();
                break;
            }
            if (got == 0) break;  // the file was cut short while we read it
            done += got;
        }
        read.bytes.resize(done);
    }
    CloseHandle(file);
    if (read.tooLarge) read.failure = "larger than " + std::to_string(limit) + " bytes";
    read.ok = read.failure.empty();
    if (!read.ok) read.bytes.clear();
    return read;
}

std::optional<std::string> Win32Platform::WindowsDirectory() {
    char buffer[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryA(buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::nullopt;
    return std::string(buffer, n);
}

std::optional<std::string> Win32Platform::FullPath(const std::string& path) {
    return usbwiz::FullPath(path);
}

bool Win32Platform::PathExists(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(path.c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return false;
    FindClose(h);
    return true;
}

FileResult Win32Platform::CreateOneDirectory(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr) != 0) return {true, {}};
    return Failure("cannot create directory");
}

FileResult Win32Platform::RemoveEmptyDirectory(const std::string& path) {
    if (RemoveDirectoryA(path.c_str()) != 0) return {true, {}};
    return Failure("cannot remove directory");
}

std::vector<std::string> Win32Platform::FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string_view name = found.cFileName;
        if (name != "." && name != "..") names.emplace_back(name);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return names;
}

BrowsedFolder Win32Platform::BrowseForFolder(const std::string& title, WindowRef owner) {
    char name[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = static_cast<HWND>(owner);
    info.pidlRoot = nullptr;
    info.pszDisplayName = name;
    info.lpszTitle = title.c_str();
    info.ulFlags = 0;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
    if (chosen == nullptr) return {};
    // The path as the shell holds it, in UTF-16: the ANSI call would put '?' for a character the
    // code page lacks, a path that names no folder. A virtual folder has no file-system path.
    wchar_t wide[MAX_PATH] = {};
    const bool hasPath = SHGetPathFromIDListW(chosen, wide) != FALSE;
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator != nullptr) {
        allocator->Free(chosen);
        allocator->Release();
    }
    if (!hasPath) return {};
    BOOL lossy = FALSE;
    const int size =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, nullptr, 0, nullptr, &lossy);
    if (size <= 0 || lossy) return {std::nullopt, lossy != FALSE};
    std::string path(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, path.data(), size, nullptr,
                        nullptr);
    path.resize(static_cast<std::size_t>(size - 1));  // without the NUL
    return {std::move(path), false};
}

std::optional<std::string> Win32Platform::BrowseForFile(const std::string& title,
                                                        const std::vector<FileType>& types,
                                                        WindowRef owner) {
    // The filter is pairs of texts, each ended by a NUL, the list by one more.
    std::string filter;
    for (const FileType& type : types)
        filter += type.name + " (" + type.patterns + ")" + '\0' + type.patterns + '\0';
    filter += std::string("All files (*.*)") + '\0' + "*.*" + '\0';
    char path[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = static_cast<HWND>(owner);
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = title.c_str();
    // NOCHANGEDIR: the wizard's relative paths keep meaning what they meant.
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&dialog)) return std::nullopt;
    return std::string(path);
}

}  // namespace usbwiz
