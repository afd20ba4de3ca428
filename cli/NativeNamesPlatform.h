#pragma once

#include <string>

#include "platform/Platform.h"

namespace usbwiz {

// The platform of usbdrvgen: everything goes to the system's platform, but the names of package
// files, which the core forms in the package's code page, are handed on as this system names
// them (see NativeOutputPath): UTF-8 on POSIX systems.
class NativeNamesPlatform : public Platform {
  public:
    NativeNamesPlatform(Platform& system, std::string directory, unsigned codePage)
        : system_(system), directory_(std::move(directory)), codePage_(codePage) {}

    MessageAnswer ShowMessage(const MessageRequest& request) override {
        return system_.ShowMessage(request);
    }
    Staging StageFile(const std::string& path, std::string_view bytes) override;
    // A staged file keeps the name the system gave it.
    FileResult CheckReplaceable(const StagedFile& file) override {
        return system_.CheckReplaceable(file);
    }
    void StartWritingOut(const StagedFile& file) override { system_.StartWritingOut(file); }
    FileResult CommitStagedFile(const StagedFile& file) override {
        return system_.CommitStagedFile(file);
    }
    void DiscardStagedFile(const StagedFile& file) override { system_.DiscardStagedFile(file); }
    FileRead ReadWholeFile(const std::string& path, std::size_t limit) override {
        return system_.ReadWholeFile(path, limit);
    }
    std::optional<std::string> WindowsDirectory() override { return system_.WindowsDirectory(); }
    std::optional<std::string> FullPath(const std::string& path) override {
        return system_.FullPath(path);
    }
    bool PathExists(const std::string& path) override { return system_.PathExists(path); }
    FileResult CreateOneDirectory(const std::string& path) override {
        return system_.CreateOneDirectory(path);
    }
    FileResult RemoveEmptyDirectory(const std::string& path) override {
        return system_.RemoveEmptyDirectory(path);
    }
    std::vector<std::string> FolderEntries(const std::string& folder) override {
        return system_.FolderEntries(folder);
    }
    BrowsedFolder BrowseForFolder(const std::string& title, WindowRef owner) override {
        return system_.BrowseForFolder(title, owner);
    }
    std::optional<std::string> BrowseForFile(const std::string& title,
                                             const std::vector<FileType>& types,
                                             WindowRef owner) override {
        return system_.BrowseForFile(title, types, owner);
    }

  private:
    Platform& system_;
    std::string directory_;
    unsigned codePage_;
};

}  // namespace usbwiz
