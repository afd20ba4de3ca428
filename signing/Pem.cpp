#include "signing/Pem.h"

#include "settings/Trimmed.h"

namespace usbwiz {

namespace {

constexpr std::string_view kBlanks = " \t\r";

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// Base64 with '=' padding at the end only; blanks between lines are gone already.
std::optional<std::string> DecodeBase64(std::string_view text) {
    std::string bytes;
    unsigned bits = 0, held = 0;
    std::size_t padding = 0;
    for (const char c : text) {
        if (c == '=') {
            ++padding;
            continue;
        }
        const int value = Base64Value(c);
        if (value < 0 || padding > 0) return std::nullopt;
        bits = (bits << 6) | static_cast<unsigned>(value);
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes += static_cast<char>((bits >> held) & 0xFF);
        }
    }
    if (padding > 2 || (text.size() % 4) != 0) return std::nullopt;
    return bytes;
}

}  // namespace

std::string_view PemBlock::Header(std::string_view name) const {
    for (const auto& [key, value] : headers)
        if (key == name) return value;
    return {};
}

std::optional<std::vector<PemBlock>> ReadPemBlocks(std::string_view text) {
    constexpr std::string_view kBegin = "-----BEGIN ", kDashes = "-----";
    std::vector<PemBlock> blocks;
    std::optional<PemBlock> open;
    std::string base64;
    bool inHeaders = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end), kBlanks);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!open) {
            if (line.starts_with(kBegin) && line.ends_with(kDashes) &&
                line.size() >= kBegin.size() + kDashes.size()) {
                open = PemBlock{std::string(line.substr(
                                    kBegin.size(), line.size() - kBegin.size() - kDashes.size())),
                                {},
                                {}};
                base64.clear();
                inHeaders = true;
            }
            continue;
        }
        if (line == "-----END " + open->label + "-----") {
            std::optional<std::string> bytes = DecodeBase64(base64);
            if (!bytes) return std::nullopt;
            open->bytes = std::move(*bytes);
            blocks.push_back(std::move(*open));
            open.reset();
            continue;
        }
        // Header lines come first, up to a blank line; base64 holds no ':'.
        const std::size_t colon = line.find(':');
        if (inHeaders && colon != std::string_view::npos) {
            open->headers.emplace_back(Trimmed(line.substr(0, colon), kBlanks),
                                       Trimmed(line.substr(colon + 1), kBlanks));
            continue;
        }
        inHeaders = false;
        base64 += line;
    }
    if (open) return std::nullopt;
    return blocks;
}

}  // namespace usbwiz
