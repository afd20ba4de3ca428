#include "pages/CreateDirectoryPath.h"

#include <map>

namespace usbwiz {
namespace {

// Tries the path; when that fails, tries each shorter prefix ending before a backslash, from
// the right, and after a prefix succeeds the path again.
//
// Plain, that recursion retries the same failing prefixes over and over: the work doubles with
// every level, so a deep path on a missing drive would never finish. A prefix that failed can
// only succeed after some directory has been created since, so failures are remembered together
// with the number of directories created when they happened, and a prefix is not retried until
// that number changes. The outcome and the directories created are the same.
class DirectoryPathCreator {
  public:
    explicit DirectoryPathCreator(Platform& platform) : platform_(platform) {}

    bool Create(const std::string& path) {
        if (const auto known = failedAt_.find(path);
            known != failedAt_.end() && known->second == created_)
            return false;

        if (platform_.CreateOneDirectory(path)) {
            ++created_;
            return true;
        }
        // From the second-to-last character down to the fourth: the drive root stays whole.
        for (std::size_t i = path.size() >= 2 ? path.size() - 2 : 0; i >= 3; --i) {
            if (path[i] != '\\') continue;
            if (Create(path.substr(0, i)) && Create(path)) return true;
        }
        failedAt_[path] = created_;
        return false;
    }

  private:
    Platform& platform_;
    std::size_t created_ = 0;
    std::map<std::string, std::size_t> failedAt_;
};

}  // namespace

bool CreateDirectoryPath(Platform& platform, const std::string& path) {
    return DirectoryPathCreator(platform).Create(path);
}

std::string WithTrailingBackslash(std::string directory) {
    if (directory.empty() || directory.back() != '\\') directory += '\\';
    return directory;
}

bool DirectoryEntryExists(Platform& platform, const std::string& directory) {
    const bool trailing = !directory.empty() && directory.back() == '\\';
    return platform.PathExists(trailing ? directory.substr(0, directory.size() - 1) : directory);
}

}  // namespace usbwiz
