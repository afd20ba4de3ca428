#include "platform/PosixPlatform.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iostream>

#include "platform/FolderChecks.h"
#include "platform/TemporaryName.h"

namespace usbwiz {

namespace {

FileResult Failure(const char* step) {
    return {false, std::string(step) + ": " + std::strerror(errno)};
}

// A regular file takes the whole buffer in one call; the loop only matters when the kernel stops
// short, which is then followed by the error that explains why.
bool WriteAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

FileResult WriteInPlace(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return Failure("cannot open for writing");
    if (!WriteAll(fd, bytes)) {
        const int writeError = errno;
        ::close(fd);
        errno = writeError;
        return Failure("cannot write");
    }
    if (::close(fd) != 0) return Failure("cannot close");
    return {true, {}};
}

// A temporary name in the file's folder.
std::string TemporaryNameBeside(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return (slash == std::string::npos ? "" : path.substr(0, slash + 1)) + TemporaryFileName();
}

// Another run's file of the same name (a pid reused on another machine sharing the folder) is
// never opened: the next number is tried.
int OpenTemporary(std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST) return fd;
        name = TemporaryNameBeside(name);
    }
    return -1;
}

}  // namespace

std::string TemporaryFileName() {
    static std::atomic<unsigned> next{FirstTemporaryNumber(static_cast<unsigned>(::getpid()))};
    return TemporaryFileName(next++);
}

MessageAnswer PosixPlatform::ShowMessage(const MessageRequest& request) {
    std::cerr << request.text << '\n';
    return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

Staging PosixPlatform::StageFile(const std::string& path, std::string_view bytes) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            errno = EISDIR;
            return {Failure("cannot open for writing"), {}};
        }
        // A device or pipe has nothing to replace (and renaming over /dev/full would remove the
        // device itself): it is written in place, now.
        if (!S_ISREG(st.st_mode)) return {WriteInPlace(path, bytes), {path, {}}};
    }

    // The whole file goes to a name of our own beside it, which replaces the final name in one
    // step when the run commits: no reader, no run killed part way and no failure ever leaves a
    // file cut short or mixed under the final name.
    std::string temporary = TemporaryNameBeside(path);
    const int fd = OpenTemporary(temporary);
    if (fd < 0) return {Failure("cannot open for writing"), {}};
    const auto fail = [&](const char* step) {
        FileResult failed = Failure(step);
        ::unlink(temporary.c_str());
        return Staging{std::move(failed), {}};
    };
    if (!WriteAll(fd, bytes)) {
        const int writeError = errno;
        ::close(fd);
        errno = writeError;
        return fail("cannot write");
    }
    if (::close(fd) != 0) return fail("cannot close");
    return {{true, {}}, {path, std::move(temporary)}};
}

// rename() replaces a file whatever holds it open; what would refuse it (a folder at the final
// path, a folder that cannot be written) has refused the temporary file already.
FileResult PosixPlatform::CheckReplaceable(const StagedFile&) {
    return {true, {}};
}

// ext4 writes a file's data out when a rename replaces another file with it, inside the rename;
// data already on its way there makes the commit's renames short.
void PosixPlatform::StartWritingOut(const StagedFile& file) {
    if (file.temporary.empty()) return;
    const int fd = ::open(file.temporary.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
    ::close(fd);
}

FileResult PosixPlatform::CommitStagedFile(const StagedFile& file) {
    if (file.temporary.empty()) return {true, {}};
    if (::rename(file.temporary.c_str(), file.path.c_str()) != 0) return Failure("cannot replace");
    return {true, {}};
}

void PosixPlatform::DiscardStagedFile(const StagedFile& file) {
    if (!file.temporary.empty()) ::unlink(file.temporary.c_str());
}

FileRead PosixPlatform::ReadWholeFile(const std::string& path, std::size_t limit) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {false, {}, std::strerror(errno)};
    FileRead read;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        read.failure = std::strerror(EISDIR);
    } else if (S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) > limit) {
        read.tooLarge = true;
    } else {
        // Counted as it comes too: a device or pipe has no size to ask for first.
        char buffer[65536];
        ssize_t n = 0;
        while (read.bytes.size() <= limit &&
               ((n = ::read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)))
            if (n > 0) read.bytes.append(buffer, static_cast<std::size_t>(n));
        if (n < 0) read.failure = std::strerror(errno);
        read.tooLarge = read.bytes.size() > limit;
    }
    ::close(fd);
    if (read.tooLarge) read.failure = "larger than " + std::to_string(limit) + " bytes";
    read.ok = read.failure.empty();
    if (!read.ok) read.bytes.clear();
    return read;
}

std::optional<std::string> PosixPlatform::WindowsDirectory() {
    return "C:\\WINDOWS";
}

std::optional<std::string> PosixPlatform::FullPath(const std::string& path) {
    return usbwiz::FullPath(path);
}

bool PosixPlatform::PathExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

FileResult PosixPlatform::CreateOneDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), 0755) == 0) return {true, {}};
    // A dangling symbolic link or a loop of them "exists" to mkdir; what the link leads to says
    // what is really wrong (No such file or directory, Too many levels of symbolic links).
    struct stat st {};
    if (errno == EEXIST && ::stat(path.c_str(), &st) == 0) errno = EEXIST;
    return Failure("cannot create directory");
}

FileResult PosixPlatform::RemoveEmptyDirectory(const std::string& path) {
    if (::rmdir(path.c_str()) == 0) return {true, {}};
    return Failure("cannot remove directory");
}

std::vector<std::string> PosixPlatform::FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

// No folder or file browser outside Windows: always as if cancelled.
BrowsedFolder PosixPlatform::BrowseForFolder(const std::string&, WindowRef) {
    return {};
}
std::optional<std::string> PosixPlatform::BrowseForFile(const std::string&,
                                                        const std::vector<FileType>&, WindowRef) {
    return std::nullopt;
}

}  // namespace usbwiz
