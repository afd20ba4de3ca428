#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/PosixPlatform.h"

namespace usbwiz::testing {

// Real files through PosixPlatform, but message boxes are recorded instead of printed, so tests
// can check the failure paths of the real file system.
class RealFilesPlatform : public Platform {
  public:
    std::vector<MessageRequest> messages;

    MessageAnswer ShowMessage(const MessageRequest& request) override {
        messages.push_back(request);
        return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    Staging StageFile(const std::string& path, std::string_view bytes) override {
        return files_.StageFile(path, bytes);
    }
    FileResult CheckReplaceable(const StagedFile& file) override {
        return files_.CheckReplaceable(file);
    }
    void StartWritingOut(const StagedFile& file) override { files_.StartWritingOut(file); }
    FileResult CommitStagedFile(const StagedFile& file) override {
        return files_.CommitStagedFile(file);
    }
    void DiscardStagedFile(const StagedFile& file) override { files_.DiscardStagedFile(file); }
    FileRead ReadWholeFile(const std::string& path, std::size_t limit) override {
        return files_.ReadWholeFile(path, limit);
    }
    std::optional<std::string> WindowsDirectory() override { return "C:\\WINDOWS"; }
    std::optional<std::string> FullPath(const std::string& path) override {
        return files_.FullPath(path);
    }
    bool PathExists(const std::string& path) override { return files_.PathExists(path); }
    FileResult CreateOneDirectory(const std::string& path) override {
        return files_.CreateOneDirectory(path);
    }
    FileResult RemoveEmptyDirectory(const std::string& path) override {
        return files_.RemoveEmptyDirectory(path);
    }
    std::vector<std::string> FolderEntries(const std::string& folder) override {
        return files_.FolderEntries(folder);
    }
    BrowsedFolder BrowseForFolder(const std::string&, WindowRef) override { return {}; }
    std::optional<std::string> BrowseForFile(const std::string&, const std::vector<FileType>&,
                                             WindowRef) override {
        return std::nullopt;
    }

  private:
    PosixPlatform files_;
};

}  // namespace usbwiz::testing
