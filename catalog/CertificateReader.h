#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An X.509 certificate as signing and verifying need it, read with our own DER reader, so that
// the Linux and the Windows programs judge every certificate alike (the system libraries differ
// in what they read and accept).
namespace usbwiz {

enum class PublicKeyKind { Rsa, EcP256, EcP384, EcP521, Other };

// Key usage bits as X.509 numbers them (bit 0 is the first bit of the BIT STRING).
namespace key_usage {
inline constexpr std::uint16_t kDigitalSignature = 1u << 0, kKeyCertSign = 1u << 5,
                               kCrlSign = 1u << 6;
}

struct ParsedCertificate {
    std::string_view der;            // the whole certificate (a view into the input)
    std::string_view toBeSigned;     // TBSCertificate, whole encoding: what the issuer signed
    std::string signatureAlgorithm;  // dotted OID of the issuer's signature
    std::string_view signature;      // the signature's octets (BIT STRING without its pad byte)
    std::string_view serialNumber;   // the INTEGER, whole encoding
    std::string_view issuer;         // Name, whole encoding
    std::string_view subject;        // Name, whole encoding
    std::string_view publicKeyInfo;  // SubjectPublicKeyInfo, whole encoding
    PublicKeyKind keyKind = PublicKeyKind::Other;
    unsigned keyBits = 0;                      // RSA: the modulus's bits; EC: the curve's
    std::int64_t notBefore = 0, notAfter = 0;  // seconds since 1970
    bool certificateAuthority = false;         // basicConstraints cA
    std::optional<std::uint16_t> keyUsage;     // nullopt: no keyUsage extension (any use)
    std::optional<std::vector<std::string>> extendedKeyUsage;  // nullopt: none (any purpose)
    std::string commonName;  // the subject's CN as UTF-8 (for messages); empty when it has none

    // May sign code: an extended key usage that names code signing or any purpose, or none.
    bool AllowsCodeSigning() const;
};

// nullopt when `der` is not exactly one well-formed certificate. The result views `der`.
std::optional<ParsedCertificate> ParseCertificate(std::string_view der);

// The common name of a DER Name, UTF-8; empty when it has none or it cannot be read.
std::string CommonNameOf(std::string_view name);

}  // namespace usbwiz
