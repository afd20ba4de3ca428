#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "platform/Platform.h"

namespace usbwiz {

// A file or directory the operating system refused, and its reason.
struct FailedPath {
    std::string path;
    std::string reason;
};

// The platform of a console program: passes everything to the real platform, prints message
// boxes as lines on the error stream (nobody is there to click), and remembers the last path
// that could not be written or created, with the operating system's reason, so the failure
// report can name it.
class ConsolePlatform : public Platform {
  public:
    ConsolePlatform(Platform& system, std::ostream& errors) : system_(system), errors_(errors) {}

    MessageAnswer ShowMessage(const MessageRequest& request) override;
    FileWriteResult WriteWholeFile(const std::string& path, std::string_view bytes) override;
    std::optional<std::string> WindowsDirectory() override;
    bool PathExists(const std::string& path) override;
    bool CreateOneDirectory(const std::string& path) override;
    std::vector<std::string> FolderEntries(const std::string& folder) override {
        return system_.FolderEntries(folder);
    }
    std::optional<std::string> BrowseForFolder(const std::string& title) override;

    const std::optional<FailedPath>& LastFailure() const { return lastFailure_; }

    // From now on, file names behind `directory` are in `codePage` and are handed on as this
    // system names them (see NativeOutputPath).
    void NameFilesIn(std::string directory, unsigned codePage) {
        directory_ = std::move(directory);
        codePage_ = codePage;
    }

  private:
    std::string Native(const std::string& path) const;

    Platform& system_;
    std::ostream& errors_;
    std::optional<FailedPath> lastFailure_;
    std::string directory_;
    unsigned codePage_ = 0;
};

}  // namespace usbwiz
