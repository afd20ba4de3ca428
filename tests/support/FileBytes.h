#pragma once

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace usbwiz::testing {

// The whole content of a file, or nullopt when it cannot be read.
inline std::optional<std::string> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Creates or replaces a file with exactly `bytes`; false when it cannot.
inline bool WriteFileBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace usbwiz::testing
