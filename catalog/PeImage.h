#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Hashing.h"

namespace usbwiz {

struct ByteRange {
    std::size_t offset = 0;
    std::size_t size = 0;
};

// What the Authenticode image hash of a PE file covers: the file up to the CheckSum field, on
// to the certificate-table entry of the data directory, and on to the certificate table (or the
// end of the file), followed by `zeroPadding` zero octets.
struct AuthenticodeLayout {
    std::array<ByteRange, 3> hashed;
    std::size_t zeroPadding = 0;
};

// The layout when `bytes` are a PE image, decided by content alone: "MZ", e_lfanew inside the
// file, "PE\0\0", an optional header of magic 0x10b (PE32) or 0x20b (PE32+) that holds the
// certificate-table entry, and headers, section table and certificate table inside the file.
// nullopt for anything else. A file that merely starts like a PE image but is truncated or
// inconsistent is nullopt too: the catalog then lists it as a flat file, hashed whole, which is
// also all a verifier could do with it.
std::optional<AuthenticodeLayout> AuthenticodeLayoutOf(std::string_view bytes);

// The Authenticode image hash of a PE image (nullopt when `bytes` are not one).
std::optional<std::string> PeImageDigest(std::string_view bytes, HashAlgorithm algorithm);

}  // namespace usbwiz
