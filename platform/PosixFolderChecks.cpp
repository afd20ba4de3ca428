#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <deque>
#include <vector>

#include "platform/FolderChecks.h"
#include "platform/Platform.h"
#include "platform/TemporaryName.h"

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
        absolute = here;
        absolute += '/';
        absolute += path;
    }
    // Name by name, as the kernel walks a path: a symbolic link is replaced by its target, even
    // one whose target does not exist yet (it would be made there), so '..' after it is the
    // target's parent. Past the last name that exists, the rest is taken as written.
    std::deque<std::string> names;
    const auto push = [&names](std::string_view text, bool front) {
        std::vector<std::string> parts;
        for (std::size_t at = 0; at <= text.size();) {
            std::size_t end = text.find('/', at);
            if (end == std::string_view::npos) end = text.size();
            if (end > at) parts.emplace_back(text.substr(at, end - at));
            at = end + 1;
        }
        names.insert(front ? names.begin() : names.end(), parts.begin(), parts.end());
    };
    push(absolute, false);
    std::string resolved = "/";
    int links = 0;
    while (!names.empty()) {
        const std::string name = std::move(names.front());
        names.pop_front();
        if (name == ".") continue;
        if (name == "..") {
            resolved = ParentOf(resolved);
            continue;
        }
        // Appended piece by piece: "/" + name trips a false -Wrestrict in g++ 12.
        std::string next = resolved == "/" ? std::string() : resolved;
        next += '/';
        next += name;
        char target[PATH_MAX];
        const ssize_t size = ::readlink(next.c_str(), target, sizeof target - 1);
        if (size < 0) {
            resolved = next;
            continue;
        }
        if (++links > 40) return std::nullopt;  // a loop of links, as the kernel's ELOOP
        const std::string_view to(target, static_cast<std::size_t>(size));
        if (to.starts_with('/')) resolved.assign(1, '/');
        push(to, true);
    }
    return resolved;
}

std::optional<std::string> FullPath(const std::string& path) {
    if (path.empty()) return std::nullopt;
    std::string full;
    if (path.front() != '/') {
        char here[PATH_MAX];
        if (::getcwd(here, sizeof here) == nullptr) return std::nullopt;
        full = here;
    }
    for (std::size_t at = 0; at <= path.size();) {
        std::size_t end = path.find('/', at);
        if (end == std::string::npos) end = path.size();
        const std::string_view name = std::string_view(path).substr(at, end - at);
        at = end + 1;
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            full.resize(std::min(full.size(), full.find_last_of('/')));
            continue;
        }
        full += '/';
        full += name;
    }
    return full.empty() ? "/" : full;
}

std::optional<std::string> WhyFolderTakesNoFile(const std::string& folder) {
    std::string at = folder.empty() ? "." : folder;
    while (at.size() > 1 && at.back() == '/') at.pop_back();
    struct stat facts {};
    while (::stat(at.c_str(), &facts) != 0) {
        if (errno != ENOENT || at == "/" || at == ".") return std::string(std::strerror(errno));
        // A link to nothing cannot be made a folder.
        if (::lstat(at.c_str(), &facts) == 0) return at + " is a link to nothing";
        at = ParentOf(at);
    }
    if (!S_ISDIR(facts.st_mode)) return at + " is not a folder";
    const std::string inside = at == "/" ? "/" : at + "/";
    std::string probe;
    int fd = -1;
    // A temporary name another run holds (or left behind) is passed over, as StageFile does.
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        probe = inside + TemporaryFileName();
        fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return std::string(std::strerror(errno));
    ::close(fd);
    ::unlink(probe.c_str());
    return std::nullopt;
}

}  // namespace usbwiz
