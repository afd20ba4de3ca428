#include "benchmarks/PlainWrites.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace usbwiz {

std::string WritePlainly(const std::vector<CapturedFile>& files) {
    for (const CapturedFile& file : files) {
        const std::string_view bytes = file.Bytes();
        const int fd = ::open(file.path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) return file.path + ": " + std::strerror(errno);
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        const int writeError = errno;
        if (::close(fd) != 0) return file.path + ": " + std::strerror(errno);
        if (written != static_cast<ssize_t>(bytes.size()))
            return file.path + ": " + (written < 0 ? std::strerror(writeError) : "short write");
    }
    return {};
}

}  // namespace usbwiz
