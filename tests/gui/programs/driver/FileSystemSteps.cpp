#include "FileSystemSteps.h"

#include <vector>

#include "StepFailed.h"

namespace usbwiz {

namespace {

std::string ErrorText(DWORD code) {
    char buffer[256] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, buffer, sizeof buffer, nullptr);
    while (n > 0 && (buffer[n - 1] == '\n' || buffer[n - 1] == '\r' || buffer[n - 1] == ' ')) --n;
    return "error " + std::to_string(code) + (n > 0 ? " (" + std::string(buffer, n) + ")" : "");
}

std::string LastError() {
    return ErrorText(GetLastError());
}

DWORD AttributesOf(const std::string& path) {
    return GetFileAttributesA(path.c_str());
}

bool IsDirectory(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Describe(DWORD attributes) {
    if (attributes == INVALID_FILE_ATTRIBUTES) return "nothing there";
    return IsDirectory(attributes) ? "a folder" : "a file";
}

// The names in a folder, without "." and "..".
std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void RemoveTree(const std::string& path) {
    if (IsDirectory(AttributesOf(path))) {
        for (const std::string& name : NamesIn(path)) RemoveTree(path + "\\" + name);
        if (!::RemoveDirectoryA(path.c_str()))
            throw StepFailed{"the folder " + path + " removed", LastError()};
    } else if (!DeleteFileA(path.c_str())) {
        throw StepFailed{"the file " + path + " removed", LastError()};
    }
}

std::string ReadWholeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw StepFailed{"to read " + path, LastError()};
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(file);
    return text;
}

}  // namespace

FileSystemSteps::~FileSystemSteps() {
    ReleaseAll();
}

void FileSystemSteps::MakeDirectory(const std::string& path) {
    if (IsDirectory(AttributesOf(path))) return;
    for (std::size_t i = 3; i < path.size(); ++i) {
        if (path[i] != '\\') continue;
        const std::string parent = path.substr(0, i);
        if (!IsDirectory(AttributesOf(parent))) CreateDirectoryA(parent.c_str(), nullptr);
    }
    if (!CreateDirectoryA(path.c_str(), nullptr) && !IsDirectory(AttributesOf(path)))
        throw StepFailed{"the folder " + path + " made", LastError()};
}

void FileSystemSteps::RemoveDirectory(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    if (!IsDirectory(attributes))
        throw StepFailed{"a folder at " + path + " to remove", Describe(attributes)};
    RemoveTree(path);
}

void FileSystemSteps::MakeFile(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw StepFailed{"the file " + path + " made", LastError()};
    DWORD written = 0;
    const bool ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size();
    const std::string failure = ok ? "" : LastError();
    CloseHandle(file);
    if (!ok) throw StepFailed{"the file " + path + " written", failure};
}

void FileSystemSteps::HoldOpen(const std::string& path) {
    if (held_.count(path) != 0) throw StepFailed{path + " not held yet", "it is held already"};
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw StepFailed{path + " opened without sharing", LastError()};
    held_[path] = file;
}

void FileSystemSteps::Release(const std::string& path) {
    const auto found = held_.find(path);
    if (found == held_.end()) throw StepFailed{path + " held open", "it is not held"};
    CloseHandle(found->second);
    held_.erase(found);
}

void FileSystemSteps::ReleaseAll() {
    for (const auto& [path, file] : held_) CloseHandle(file);
    held_.clear();
}

void FileSystemSteps::ExpectFile(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || IsDirectory(attributes))
        throw StepFailed{"a file at " + path, Describe(attributes)};
}

void FileSystemSteps::ExpectFileText(const std::string& path, const std::string& text) {
    ExpectFile(path);
    const std::string content = ReadWholeFile(path);
    if (content != text)
        throw StepFailed{path + " holding \"" + text + "\"",
                         "it holds " + std::to_string(content.size()) + " bytes: \"" +
                             content.substr(0, 80) + (content.size() > 80 ? "..." : "") + "\""};
}

void FileSystemSteps::ExpectNoEntry(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    if (attributes != INVALID_FILE_ATTRIBUTES)
        throw StepFailed{"nothing at " + path, Describe(attributes)};
}

void FileSystemSteps::ExpectDirectory(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    if (!IsDirectory(attributes)) throw StepFailed{"a folder at " + path, Describe(attributes)};
}

void FileSystemSteps::ExpectNoFiles(const std::string& folder) {
    const DWORD attributes = AttributesOf(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (!IsDirectory(attributes)) throw StepFailed{"no files at " + folder, "a file of that name"};
    const std::vector<std::string> names = NamesIn(folder);
    if (names.empty()) return;
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
    throw StepFailed{"no files in " + folder, list};
}

}  // namespace usbwiz
