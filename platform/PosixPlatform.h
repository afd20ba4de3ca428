#pragma once

#include "platform/Platform.h"

namespace usbwiz {

// The platform of native builds and tools: real files, messages on standard error, and a
// stand-in Windows directory.
class PosixPlatform : public Platform {
  public:
    MessageAnswer ShowMessage(const MessageRequest& request) override;
    Staging StageFile(const std::string& path, std::string_view bytes) override;
    FileResult CheckReplaceable(const StagedFile& file) override;
    void StartWritingOut(const StagedFile& file) override;
    FileResult CommitStagedFile(const StagedFile& file) override;
    void DiscardStagedFile(const StagedFile& file) override;
    FileRead ReadWholeFile(const std::string& path, std::size_t limit) override;
    std::optional<std::string> WindowsDirectory() override;
    std::optional<std::string> FullPath(const std::string& path) override;
    bool PathExists(const std::string& path) override;
    FileResult CreateOneDirectory(const std::string& path) override;
    FileResult RemoveEmptyDirectory(const std::string& path) override;
    std::vector<std::string> FolderEntries(const std::string& folder) override;
    BrowsedFolder BrowseForFolder(const std::string& title, WindowRef owner) override;
    std::optional<std::string> BrowseForFile(const std::string& title,
                                             const std::vector<FileType>& types,
                                             WindowRef owner) override;
};

}  // namespace usbwiz
