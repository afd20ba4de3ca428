#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace usbwiz::testing {

// An in-memory platform that records every call in order, for tests of the core and the pages.
class RecordingPlatform : public Platform {
  public:
    // What the platform holds and how it behaves; tests set these up.
    std::map<std::string, std::string> files;  // at their final paths
    std::set<std::string> directories;
    std::set<std::string> failingWrites;  // paths whose staging fails
    std::set<std::string> heldFiles;      // paths whose files cannot be replaced
    std::optional<std::string> windowsDirectory = "C:\\WINDOWS";
    std::deque<MessageAnswer> answers;       // given to Yes/No boxes in turn; No when none left
    BrowsedFolder browsedFolder;             // what the folder browser answers; no path: cancel
    std::optional<std::string> browsedFile;  // what the file browser answers; nullopt: cancel

    // What was asked of it.
    std::vector<MessageRequest> messages;
    std::vector<std::string> writeAttempts;     // every path a file was staged for
    std::map<std::string, std::string> staged;  // temporary name to bytes, while staged
    std::vector<WindowRef> browseOwners;
    // "stage <path>", "failed <path>", "commit <path>", "discard <path>", "message <text>",
    // "mkdir <path>", "rmdir <path>"
    std::vector<std::string> events;

    MessageAnswer ShowMessage(const MessageRequest& request) override {
        messages.push_back(request);
        events.push_back("message " + request.text);
        if (request.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
        if (answers.empty()) return MessageAnswer::No;
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    Staging StageFile(const std::string& path, std::string_view bytes) override {
        writeAttempts.push_back(path);
        if (failingWrites.count(path) != 0) {
            events.push_back("failed " + path);
            return {{false, "refused by the test"}, {}};
        }
        events.push_back("stage " + path);
        const std::string temporary = path + "~" + std::to_string(writeAttempts.size());
        staged[temporary] = std::string(bytes);
        return {{true, {}}, {path, temporary}};
    }

    FileResult CheckReplaceable(const StagedFile& file) override {
        if (heldFiles.count(file.path) != 0) return {false, "held by the test"};
        return {true, {}};
    }

    FileResult CommitStagedFile(const StagedFile& file) override {
        events.push_back("commit " + file.path);
        files[file.path] = staged.at(file.temporary);
        staged.erase(file.temporary);
        return {true, {}};
    }

    void DiscardStagedFile(const StagedFile& file) override {
        events.push_back("discard " + file.path);
        staged.erase(file.temporary);
    }

    FileRead ReadWholeFile(const std::string& path, std::size_t limit) override {
        const auto file = files.find(path);
        if (file == files.end())
            return {false, {}, directories.count(path) != 0 ? "is a directory" : "no such file"};
        if (file->second.size() > limit)
            return {false, {}, "larger than " + std::to_string(limit) + " bytes", true};
        return {true, file->second, {}};
    }

    std::optional<std::string> WindowsDirectory() override { return windowsDirectory; }

    // The tests' paths stand for themselves.
    std::optional<std::string> FullPath(const std::string& path) override { return path; }

    bool PathExists(const std::string& path) override {
        return directories.count(path) != 0 || files.count(path) != 0;
    }

    FileResult CreateOneDirectory(const std::string& requested) override {
        events.push_back("mkdir " + requested);
        // As CreateDirectoryA: one trailing separator names the same directory.
        std::string path = requested;
        if (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
        if (PathExists(path)) return {false, "cannot create directory: exists"};
        const std::size_t cut = path.find_last_of("\\/");
        if (cut != std::string::npos) {
            std::string parent = path.substr(0, cut);
            if (parent.size() == 2 && parent[1] == ':') parent += '\\';  // "C:" is the drive root
            if (!parent.empty() && directories.count(parent) == 0)
                return {false, "cannot create directory: no parent"};
        }
        directories.insert(path);
        return {true, {}};
    }

    FileResult RemoveEmptyDirectory(const std::string& path) override {
        events.push_back("rmdir " + path);
        if (!FolderEntries(path + "/").empty() || !FolderEntries(path + "\\").empty())
            return {false, "not empty"};
        return directories.erase(path) != 0 ? FileResult{true, {}} : FileResult{false, "gone"};
    }

    std::vector<std::string> FolderEntries(const std::string& folder) override {
        std::set<std::string> names;
        const auto add = [&](const std::string& path) {
            if (path.size() <= folder.size() || !path.starts_with(folder)) return;
            const std::string rest = path.substr(folder.size());
            names.insert(rest.substr(0, rest.find_first_of("\\/")));
        };
        for (const auto& [path, bytes] : files) add(path);
        for (const std::string& path : directories) add(path);
        return {names.begin(), names.end()};
    }

    BrowsedFolder BrowseForFolder(const std::string& title, WindowRef owner) override {
        events.push_back("browse " + title);
        browseOwners.push_back(owner);
        return browsedFolder;
    }

    std::optional<std::string> BrowseForFile(const std::string& title, const std::vector<FileType>&,
                                             WindowRef owner) override {
        events.push_back("browse " + title);
        browseOwners.push_back(owner);
        return browsedFile;
    }

    // The paths files were committed to, in order.
    std::vector<std::string> WrittenPaths() const {
        std::vector<std::string> written;
        for (const std::string& e : events)
            if (e.rfind("commit ", 0) == 0) written.push_back(e.substr(7));
        return written;
    }
};

}  // namespace usbwiz::testing
