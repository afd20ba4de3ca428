#pragma once

#include <string_view>

#include "platform/Hashing.h"

// The object identifiers that more than one of the structures we read and write name.
namespace usbwiz::oid {

inline constexpr std::string_view kCertificateTrustList = "1.3.6.1.4.1.311.10.1";
inline constexpr std::string_view kRsaEncryption = "1.2.840.113549.1.1.1";
inline constexpr std::string_view kEcPublicKey = "1.2.840.10045.2.1";
inline constexpr std::string_view kCurveP256 = "1.2.840.10045.3.1.7";
inline constexpr std::string_view kCurveP384 = "1.3.132.0.34";
inline constexpr std::string_view kCurveP521 = "1.3.132.0.35";

constexpr std::string_view Digest(HashAlgorithm hash) {
    return hash == HashAlgorithm::Sha1 ? "1.3.14.3.2.26" : "2.16.840.1.101.3.4.2.1";
}

constexpr std::string_view EcdsaWith(HashAlgorithm hash) {
    return hash == HashAlgorithm::Sha1 ? "1.2.840.10045.4.1" : "1.2.840.10045.4.3.2";
}

}  // namespace usbwiz::oid
