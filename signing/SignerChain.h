#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "catalog/CertificateReader.h"
#include "platform/Signing.h"

namespace usbwiz {

// Which of `certificates` hold the public key of `key`, by index in the order given: the
// candidates for the signer's own certificate. A certificate's key is the key when their
// SubjectPublicKeyInfo encodings are equal or, since one key may be encoded otherwise, when a
// signature made with the key verifies with the certificate's key.
std::vector<std::size_t> CertificatesOfKey(const SigningKey& key,
                                           const std::vector<ParsedCertificate>& certificates);

// certificates[leaf] followed by its issuer, that one's issuer and so on, as far as
// `certificates` holds them: the chain a signature carries, and nothing else of the file. An
// issuer is a certificate whose subject is the issued one's issuer name; of several, the first
// in the order of their encodings, so that one file gives one chain whatever order a library
// lists it in. The chain stops short of a self-issued root: a verifier trusts a root from its
// own store, never from a signature, and Wine's PKCS #12 import leaves roots out, so the
// builds carry the same chain. The leaf itself is always there.
std::vector<std::string> ChainOf(std::size_t leaf,
                                 const std::vector<ParsedCertificate>& certificates);

}  // namespace usbwiz
