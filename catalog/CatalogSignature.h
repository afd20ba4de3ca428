#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "catalog/CatalogFile.h"
#include "platform/Signing.h"

namespace usbwiz {

// Who signs a catalog: the key, its certificate and the issuers of it (DER, the key's own first,
// each followed by its issuer; all go into the signature so that a verifier can build the chain).
struct CatalogSigner {
    const SigningKey* key = nullptr;
    std::vector<std::string> certificates;
};

// The catalog signed as Authenticode signs catalogs: PKCS #7 signed-data version 1 with the
// trust list as content, one SignerInfo whose authenticated attributes are the content type
// (the trust list), the opus info (empty), the statement type (individual code signing) and
// the message digest of the trust list's contents octets; the digest algorithm is the
// catalog's (SHA-1 for the first form, which is all Windows XP verifies, SHA-256 otherwise).
// No signing time: the same inputs give the same bytes. Throws SignatureNotVerified when the
// signature does not verify with the key's public half (that of the first certificate, as
// PrepareSigning chooses them), std::runtime_error when the key cannot sign,
// std::invalid_argument when the first certificate cannot be read.
std::string BuildSignedCatalogFile(const CatalogContents& contents, const CatalogSigner& signer);

// A signature the key made that does not verify with its certificate: a damaged key.
class SignatureNotVerified : public std::runtime_error {
  public:
    SignatureNotVerified()
        : std::runtime_error("the signature made does not verify with the certificate") {}
};

}  // namespace usbwiz
