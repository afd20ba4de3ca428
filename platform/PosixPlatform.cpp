#include "platform/PosixPlatform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

namespace usbwiz {

namespace {

FileWriteResult Failure(const char* step) {
    return {false, std::string(step) + ": " + std::strerror(errno)};
}

}  // namespace

MessageAnswer PosixPlatform::ShowMessage(const MessageRequest& request) {
    std::cerr << request.text << '\n';
    return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

FileWriteResult PosixPlatform::WriteWholeFile(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return Failure("cannot open for writing");

    // A file cut short would pass for a complete one, so a failed write removes it again; only
    // a regular file, never a device such as /dev/full.
    struct stat st {};
    const bool regularFile = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    const auto fail = [&](const char* step) {
        FileWriteResult failed = Failure(step);
        if (regularFile) ::unlink(path.c_str());
        return failed;
    };

    // A regular file takes the whole buffer in one call; the loop only matters when the
    // kernel stops short, which is then followed by the error that explains why.
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            const int writeError = errno;
            ::close(fd);
            errno = writeError;
            return fail("cannot write");
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) return fail("cannot close");
    return {true, {}};
}

std::optional<std::string> PosixPlatform::WindowsDirectory() {
    return "C:\\WINDOWS";
}

bool PosixPlatform::PathExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool PosixPlatform::CreateOneDirectory(const std::string& path) {
    return ::mkdir(path.c_str(), 0755) == 0;
}

// No folder browser outside Windows: always as if cancelled.
std::optional<std::string> PosixPlatform::BrowseForFolder(const std::string&) {
    return std::nullopt;
}

}  // namespace usbwiz
