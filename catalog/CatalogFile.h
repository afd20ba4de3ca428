#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "catalog/MemberDigests.h"
#include "platform/Hashing.h"

namespace usbwiz {

struct CatalogMember {
    std::string fileName;  // UTF-8, as the package writes it: the member's "File" attribute
    MemberDigests digests;
};

struct CatalogContents {
    // SHA-1: the first catalog form, the one Windows 98, 2000 and XP read. SHA-256: the second
    // form, for Windows 8 and later.
    HashAlgorithm algorithm = HashAlgorithm::Sha1;
    std::vector<CatalogMember> members;
    std::string osAttribute;  // the catalog's "OSAttr" value, e.g. "2:5.00,2:5.1"; empty: none
    std::int64_t creationTime = 0;  // seconds since 1970-01-01 UTC, from 1950 to 2049
    std::array<std::uint8_t, 16> listIdentifier{};
};

// The unsigned catalog file, laid out as MakeCat writes it with "<HASH>" member tags: a PKCS #7
// SignedData without signers around a certificate trust list of the members, sorted by tag.
// Members of identical digests share one entry, listed under the first of their names in byte
// order. Two members of one name, digests of the wrong size and texts that cannot be written
// throw std::invalid_argument.
std::string BuildCatalogFile(const CatalogContents& contents);

// The parts of it: the certificate trust list alone, and the PKCS #7 ContentInfo around a
// trust list (with the signer's parts when it is signed).
std::string BuildTrustList(const CatalogContents& contents);
std::string CatalogSignedData(std::string_view trustList, std::vector<std::string> digestAlgorithms,
                              std::vector<std::string> certificates,
                              std::vector<std::string> signerInfos);

}  // namespace usbwiz
