#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Hashing.h"

namespace usbwiz {

// What signing needs from the system's crypto library (libcrypto on POSIX systems, CNG and
// CryptoAPI on Windows): private keys, signatures and PKCS #12 files. Reading key files and
// certificates, choosing the signer and judging it are our own code, above this layer.

enum class KeyAlgorithm { Rsa, EcdsaP256, EcdsaP384, EcdsaP521 };

// Whether `signature` (as SigningKey::Sign answers it) is the signature of `data` by the public
// key.
bool VerifySignature(std::string_view publicKeyInfo, HashAlgorithm hash, std::string_view data,
                     std::string_view signature);

// A private key. Sign answers the signature as a PKCS #7 SignerInfo or an X.509 certificate
// holds it: PKCS #1 v1.5 for RSA, a DER Ecdsa-Sig-Value for ECDSA. A key the library cannot
// sign with throws std::runtime_error. Several threads may sign with one key at once (the
// catalogs of a package are signed side by side).
class SigningKey {
  public:
    virtual ~SigningKey() = default;
    virtual KeyAlgorithm Algorithm() const = 0;
    virtual std::string PublicKeyInfo() const = 0;  // DER SubjectPublicKeyInfo
    virtual std::string Sign(HashAlgorithm hash, std::string_view data) const = 0;

    // Whether `signature` is the signature of `data` by this key's public half.
    virtual bool Verifies(HashAlgorithm hash, std::string_view data,
                          std::string_view signature) const {
        return VerifySignature(PublicKeyInfo(), hash, data, signature);
    }
};

// An RSA private key's numbers in PKCS #1's order, each an unsigned big-endian magnitude.
struct RsaPrivateNumbers {
    std::string modulus, publicExponent, privateExponent, prime1, prime2, exponent1, exponent2,
        coefficient;
};

// An EC private key: its curve, the private scalar (big-endian) and the public point
// (uncompressed, 04 || X || Y; empty when the key file leaves it out).
struct EcPrivateNumbers {
    KeyAlgorithm curve = KeyAlgorithm::EcdsaP256;
    std::string privateScalar, publicPoint;
};

// A key, or why this system's library does not take it.
struct ImportedKey {
    std::unique_ptr<SigningKey> key;
    std::string error;
};

// The key made from its numbers as they are: the numbers are not checked against each other
// (a signature that then does not verify shows a damaged key).
ImportedKey ImportRsaPrivateKey(const RsaPrivateNumbers& numbers);
ImportedKey ImportEcPrivateKey(const EcPrivateNumbers& numbers);

// What a PKCS #12 file holds: its private key and every certificate in it (DER, in no
// particular order), or why it cannot be read ("wrong password" among the reasons).
struct Pkcs12Contents {
    std::unique_ptr<SigningKey> key;
    std::vector<std::string> certificates;
    std::string error;
    bool passwordRefused = false;  // the error is the password's (when the system can tell)
};

Pkcs12Contents ImportPkcs12(std::string_view bytes, std::string_view password);

// A new key for a test certificate.
std::unique_ptr<SigningKey> GenerateSigningKey(KeyAlgorithm algorithm);

// `count` bytes from the crypto library's random generator (a certificate's serial number).
std::string RandomBytes(std::size_t count);

}  // namespace usbwiz
