#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Hashing.h"

namespace usbwiz {

// The keys and certificates a catalog is signed with, as the system's crypto library holds
// them (libcrypto on POSIX systems, CryptoAPI on Windows). Everything around them, the signed
// catalog and a test certificate, is built by our own code.

enum class KeyAlgorithm { Rsa, EcdsaP256 };

// A private key. Sign answers the signature as a PKCS #7 SignerInfo or an X.509 certificate
// holds it: PKCS #1 v1.5 for RSA, a DER Ecdsa-Sig-Value for ECDSA.
class SigningKey {
  public:
    virtual ~SigningKey() = default;
    virtual KeyAlgorithm Algorithm() const = 0;
    virtual std::string PublicKeyInfo() const = 0;  // DER SubjectPublicKeyInfo
    virtual std::string Sign(HashAlgorithm hash, std::string_view data) const = 0;
};

// What signing needs to know of a certificate.
struct CertificateFacts {
    std::string issuer;                        // DER Name
    std::string serialNumber;                  // DER INTEGER
    std::string subject;                       // DER Name
    std::string publicKeyInfo;                 // DER SubjectPublicKeyInfo
    std::int64_t notBefore = 0, notAfter = 0;  // seconds since 1970
    bool codeSigning = false;  // may sign code: its extended key usage allows it (or it has none)
};

// nullopt when `der` is not a certificate.
std::optional<CertificateFacts> ReadCertificate(std::string_view der);

// Whether `signature` (as Sign answers it) is the signature of `data` by the public key.
bool VerifySignature(std::string_view publicKeyInfo, HashAlgorithm hash, std::string_view data,
                     std::string_view signature);

// A key with its certificates (DER, the one of the key first), or why it could not be loaded.
struct LoadedSigner {
    std::unique_ptr<SigningKey> key;
    std::vector<std::string> certificates;
    std::string error;
};

// A PKCS #12 file; a wrong password is an error of its own ("wrong password").
LoadedSigner LoadPkcs12(std::string_view bytes, std::string_view password);

// PEM certificates (the signer's first) and a PEM private key (PKCS #8, or PKCS #1 RSA).
LoadedSigner LoadPem(std::string_view certificatesPem, std::string_view keyPem);

// A new key for a test certificate.
std::unique_ptr<SigningKey> GenerateSigningKey(KeyAlgorithm algorithm);

// `count` bytes from the crypto library's random generator (a certificate's serial number).
std::string RandomBytes(std::size_t count);

}  // namespace usbwiz
