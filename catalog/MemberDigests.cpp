#include "catalog/MemberDigests.h"

#include <optional>

#include "catalog/PeImage.h"

namespace usbwiz {

namespace {

std::string DigestOfKind(MemberKind kind, std::string_view bytes, HashAlgorithm algorithm) {
    if (kind == MemberKind::PeImage) return *PeImageDigest(bytes, algorithm);
    return Digest(algorithm, bytes);
}

}  // namespace

MemberDigests ComputeMemberDigests(std::string_view bytes, HashAlgorithm algorithm) {
    MemberDigests digests;
    digests.kind = AuthenticodeLayoutOf(bytes) ? MemberKind::PeImage : MemberKind::Flat;
    digests.digest = DigestOfKind(digests.kind, bytes, algorithm);
    if (algorithm == HashAlgorithm::Sha256)
        digests.sha1 = DigestOfKind(digests.kind, bytes, HashAlgorithm::Sha1);
    return digests;
}

}  // namespace usbwiz
