#pragma once

#include <string>
#include <string_view>

#include "platform/Hashing.h"

namespace usbwiz {

// How a catalog lists a file: PE images by their Authenticode image hash, everything else
// (INF files, text, anything not a well-formed PE image) by the hash of all its bytes.
enum class MemberKind { Flat, PeImage };

struct MemberDigests {
    MemberKind kind = MemberKind::Flat;
    std::string digest;  // raw, with the catalog's algorithm
    std::string sha1;    // SHA-256 catalogs only: the SHA-1 digest of the same kind, which
                         // MakeCat lists beside every file; empty in SHA-1 catalogs
};

// The digests of a file for a catalog of `algorithm`, its kind decided by content.
MemberDigests ComputeMemberDigests(std::string_view bytes, HashAlgorithm algorithm);

}  // namespace usbwiz
