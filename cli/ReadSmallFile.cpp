#include "cli/ReadSmallFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/TextEncoding.h"

namespace usbwiz {

constexpr std::size_t kLargestFile = 1024 * 1024;

// Through C stdio: it reports a read error (such as a directory given as the file), which a
// stream would take for an empty file.
FileText ReadSmallFile(const std::string& path) {
    const std::string native = NativePathFromUtf8(path).value_or(path);
    std::FILE* file = std::fopen(native.c_str(), "rb");
    if (file == nullptr) return {{}, std::strerror(errno)};
    FileText result;
    char buffer[4096];
    std::size_t n = 0;
    while (result.text.size() <= kLargestFile &&
           (n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        result.text.append(buffer, n);
    if (std::ferror(file) != 0) result = {{}, std::strerror(errno)};
    if (result.text.size() > kLargestFile) result = {{}, "larger than 1 MiB"};
    std::fclose(file);
    return result;
}

}  // namespace usbwiz
