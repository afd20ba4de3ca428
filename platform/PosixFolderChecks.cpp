#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/FolderChecks.h"
#include "platform/Platform.h"

namespace usbwiz {

namespace {

std::string ParentOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::optional<std::string> ComparablePath(const std::string& path) {
    if (path.empty()) return std::nullopt;
    std::string absolute = path;
    if (path.front() != '/') {
        char here[PATH_MAX];
        if (::getcwd(here, sizeof here) == nullptr) return std::nullopt;
        absolute = std::string(here) + "/" + path;
    }
    // Name by name: while the names exist, each step is resolved by the kernel (symbolic links
    // included), so '..' after it is the real parent; past them, the rest is taken as written,
    // as the folders would be made.
    std::string resolved = "/";
    bool existing = true;
    for (std::size_t at = 0; at <= absolute.size();) {
        std::size_t end = absolute.find('/', at);
        if (end == std::string::npos) end = absolute.size();
        const std::string name = absolute.substr(at, end - at);
        at = end + 1;
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            resolved = ParentOf(resolved);
            continue;
        }
        const std::string next = resolved == "/" ? "/" + name : resolved + "/" + name;
        char real[PATH_MAX];
        if (existing && ::realpath(next.c_str(), real) != nullptr) {
            resolved = real;
            continue;
        }
        existing = false;
        resolved = next;
    }
    return resolved;
}

std::optional<std::string> WhyFolderTakesNoFile(const std::string& folder) {
    std::string at = folder.empty() ? "." : folder;
    while (at.size() > 1 && at.back() == '/') at.pop_back();
    struct stat facts {};
    while (::stat(at.c_str(), &facts) != 0) {
        if (errno != ENOENT || at == "/" || at == ".") return std::string(std::strerror(errno));
        at = ParentOf(at);
    }
    if (!S_ISDIR(facts.st_mode)) return at + " is not a folder";
    std::string probe = at == "/" ? "" : at;
    probe += "/";
    probe += kTemporaryPrefix;
    probe += std::to_string(::getpid()) + "-probe.tmp";
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return std::string(std::strerror(errno));
    ::close(fd);
    ::unlink(probe.c_str());
    return std::nullopt;
}

}  // namespace usbwiz
