#include "verify/CertificateFile.h"

#include <optional>

#include "catalog/CertificateReader.h"

namespace usbwiz {

namespace {

constexpr std::string_view kBegin = "-----BEGIN CERTIFICATE-----";
constexpr std::string_view kEnd = "-----END CERTIFICATE-----";

int Sextet(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// Base64 with line breaks and blanks in it; nullopt for any other character.
std::optional<std::string> Base64(std::string_view text) {
    std::string bytes;
    unsigned bits = 0, count = 0;
    for (const char c : text) {
        if (c == '=' || c == '\r' || c == '\n' || c == ' ' || c == '\t') continue;
        const int value = Sextet(c);
        if (value < 0) return std::nullopt;
        bits = (bits << 6) | static_cast<unsigned>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            bytes += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return bytes;
}

}  // namespace

std::vector<std::string> CertificatesInFile(std::string_view bytes) {
    if (ParseCertificate(bytes)) return {std::string(bytes)};
    std::vector<std::string> certificates;
    for (std::size_t at = bytes.find(kBegin); at != std::string_view::npos;
         at = bytes.find(kBegin, at)) {
        const std::size_t start = at + kBegin.size();
        const std::size_t end = bytes.find(kEnd, start);
        if (end == std::string_view::npos) break;
        if (std::optional<std::string> der = Base64(bytes.substr(start, end - start)))
            certificates.push_back(std::move(*der));
        at = end + kEnd.size();
    }
    return certificates;
}

}  // namespace usbwiz
