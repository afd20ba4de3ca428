#pragma once

#include <string>
#include <string_view>

#include "payload/MemberKind.h"
#include "platform/Hashing.h"

namespace usbwiz {

struct MemberDigests {
    MemberKind kind = MemberKind::Flat;
    std::string digest;  // raw, with the catalog's algorithm
    std::string sha1;    // SHA-256 catalogs only: the SHA-1 digest of the same kind, which
                         // MakeCat lists beside every file; empty in SHA-1 catalogs
};

// The digests of a file for a catalog of `algorithm`, its kind decided by content.
MemberDigests ComputeMemberDigests(std::string_view bytes, HashAlgorithm algorithm);

}  // namespace usbwiz
