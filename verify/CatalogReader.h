#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/MemberDigests.h"
#include "platform/Hashing.h"

namespace usbwiz {

// One entry of a catalog's trust list, as Windows looks files up in it: by the digest its tag
// holds (the upper-case hex text of the first form decoded; the second form's raw digest).
struct CatalogEntry {
    std::string tag;
    std::optional<std::string> digest;  // its indirect data's digest, when it has indirect data
                                        // of the list's algorithm
    MemberKind kind = MemberKind::Flat;
    std::string fileName;  // its "File" name in UTF-8; empty when it has none
};

// The catalog's first SignerInfo: the one Windows checks.
struct CatalogSignerInfo {
    std::string_view issuer, serialNumber;  // DER Name and INTEGER of its certificate
    std::string digestAlgorithm;            // dotted OID
    std::string_view signedAttributes;      // their whole [0] encoding; empty when none
    std::string contentType;                // dotted OID; empty when not among them
    std::optional<std::string_view> messageDigest;
    std::string signatureAlgorithm;  // dotted OID
    std::string_view signature;
};

// A catalog file as the system reads it: the members of its certificate trust list and the
// parts of its PKCS #7 signature. Views into the bytes read.
struct ParsedCatalog {
    HashAlgorithm algorithm = HashAlgorithm::Sha1;  // the member list's: SHA-1 or SHA-256
    std::vector<CatalogEntry> entries;
    std::string_view trustListContents;  // what the signed message digest covers
    std::vector<std::string_view> certificates;
    bool hasSigner = false;
    std::optional<CatalogSignerInfo> signer;  // nullopt when unsigned or signerError says why
    std::string signerError;
};

struct CatalogReading {
    std::optional<ParsedCatalog> catalog;
    std::string error;  // why the bytes are not a catalog, when catalog is nullopt
};

CatalogReading ParseCatalog(std::string_view bytes);

}  // namespace usbwiz
