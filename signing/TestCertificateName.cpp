#include "signing/TestCertificateName.h"

#include <optional>

#include "settings/Utf8.h"

namespace usbwiz {

namespace {

constexpr std::string_view kEnding = " driver test certificate";
constexpr std::string_view kCut = "...";

// The byte length of the first `count` characters of `text` (all of it when it has fewer).
std::size_t BytesOfCharacters(std::string_view text, std::size_t count) {
    std::size_t at = 0;
    for (std::size_t n = 0; n < count && at < text.size(); ++n) {
        const std::optional<Utf8Character> character = DecodeUtf8(text, at);
        at += character ? character->length : 1;
    }
    return at;
}

}  // namespace

std::string TestCertificateCommonName(std::string_view longName) {
    const std::size_t room = kLongestCommonName - kEnding.size();
    if (BytesOfCharacters(longName, room) == longName.size())
        return std::string(longName) + std::string(kEnding);
    std::string_view kept = longName.substr(0, BytesOfCharacters(longName, room - kCut.size()));
    while (!kept.empty() && kept.back() == ' ') kept.remove_suffix(1);
    return std::string(kept) + std::string(kCut) + std::string(kEnding);
}

std::string TestCertificateFileName(std::string_view infPrefix) {
    return std::string(infPrefix) + "-driver-test.cer";
}

}  // namespace usbwiz
