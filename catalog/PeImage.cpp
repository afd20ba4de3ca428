#include "catalog/PeImage.h"

#include <cstdint>

namespace usbwiz {

namespace {

// Offsets in the PE format.
constexpr std::size_t kDosHeaderSize = 64;
constexpr std::size_t kLfanewOffset = 0x3C;
constexpr std::size_t kCoffHeaderSize = 20;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::size_t kCertificateDirectoryIndex = 4;

// Little-endian reads; callers check the range first, and every sum below stays far from
// overflow because each term is bounded by the file size or a 32-bit field.
std::uint32_t Read(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i > 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i - 1]);
    return value;
}

bool Inside(std::string_view bytes, std::uint64_t offset, std::uint64_t size) {
    return offset <= bytes.size() && size <= bytes.size() - offset;
}

}  // namespace

std::optional<AuthenticodeLayout> AuthenticodeLayoutOf(std::string_view bytes) {
    if (bytes.size() < kDosHeaderSize || bytes[0] != 'M' || bytes[1] != 'Z') return std::nullopt;
    const std::uint64_t pe = Read(bytes, kLfanewOffset, 4);
    if (!Inside(bytes, pe, 4 + kCoffHeaderSize) ||
        bytes.substr(pe, 4) != std::string_view("PE\0\0", 4))
        return std::nullopt;
    const std::uint64_t sections = Read(bytes, pe + 6, 2);
    const std::uint64_t optionalSize = Read(bytes, pe + 20, 2);
    const std::uint64_t opt = pe + 4 + kCoffHeaderSize;
    if (!Inside(bytes, opt, optionalSize) || optionalSize < 2) return std::nullopt;

    const std::uint32_t magic = Read(bytes, opt, 2);
    if (magic != kPe32Magic && magic != kPe32PlusMagic) return std::nullopt;
    // The data directory follows the fields that differ in size between PE32 and PE32+.
    const std::uint64_t directoryCountAt = opt + (magic == kPe32Magic ? 92 : 108);
    const std::uint64_t directory = directoryCountAt + 4;
    const std::uint64_t certificateEntry = directory + 8 * kCertificateDirectoryIndex;
    if (certificateEntry + 8 > opt + optionalSize ||
        Read(bytes, directoryCountAt, 4) <= kCertificateDirectoryIndex)
        return std::nullopt;
    const std::uint64_t headersSize = Read(bytes, opt + 60, 4);
    if (!Inside(bytes, opt + optionalSize, sections * kSectionHeaderSize) ||
        !Inside(bytes, 0, headersSize))
        return std::nullopt;

    // The certificate entry holds a file offset, not an address. The table must lie behind the
    // headers and inside the file; what follows it is not hashed.
    const std::uint64_t tableOffset = Read(bytes, certificateEntry, 4);
    const std::uint64_t tableSize = Read(bytes, certificateEntry + 4, 4);
    std::uint64_t end = bytes.size();
    std::size_t padding = 0;
    if (tableSize != 0) {
        if (tableOffset < certificateEntry + 8 || !Inside(bytes, tableOffset, tableSize))
            return std::nullopt;
        end = tableOffset;
    } else {
        // An unsigned file counts as padded to 8 octets, as signing pads it before it appends
        // the table: the digest then stays the same once the file is signed.
        padding = (8 - bytes.size() % 8) % 8;
    }

    const std::uint64_t checksum = opt + 64;
    AuthenticodeLayout layout;
    layout.hashed[0] = {0, static_cast<std::size_t>(checksum)};
    layout.hashed[1] = {static_cast<std::size_t>(checksum + 4),
                        static_cast<std::size_t>(certificateEntry - checksum - 4)};
    layout.hashed[2] = {static_cast<std::size_t>(certificateEntry + 8),
                        static_cast<std::size_t>(end - certificateEntry - 8)};
    layout.zeroPadding = padding;
    return layout;
}

std::optional<std::string> PeImageDigest(std::string_view bytes, HashAlgorithm algorithm) {
    const std::optional<AuthenticodeLayout> layout = AuthenticodeLayoutOf(bytes);
    if (!layout) return std::nullopt;
    Hasher hasher(algorithm);
    for (const ByteRange& range : layout->hashed)
        hasher.Update(bytes.substr(range.offset, range.size));
    hasher.Update(std::string(layout->zeroPadding, '\0'));
    return hasher.Finish();
}

}  // namespace usbwiz
