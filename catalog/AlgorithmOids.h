#pragma once

#include <string_view>

#include "platform/Hashing.h"

// The object identifiers that more than one of the catalog's structures name, or that both the
// catalog's writer and its reader look for.
namespace usbwiz::oid {

inline constexpr std::string_view kCertificateTrustList = "1.3.6.1.4.1.311.10.1";
inline constexpr std::string_view kRsaEncryption = "1.2.840.113549.1.1.1";
inline constexpr std::string_view kEcPublicKey = "1.2.840.10045.2.1";
inline constexpr std::string_view kCurveP256 = "1.2.840.10045.3.1.7";
inline constexpr std::string_view kCurveP384 = "1.3.132.0.34";
inline constexpr std::string_view kCurveP521 = "1.3.132.0.35";
inline constexpr std::string_view kSignedData = "1.2.840.113549.1.7.2";
inline constexpr std::string_view kCatalogList = "1.3.6.1.4.1.311.12.1.1";
inline constexpr std::string_view kMemberListV1 = "1.3.6.1.4.1.311.12.1.2";
inline constexpr std::string_view kMemberListV2 = "1.3.6.1.4.1.311.12.1.3";
inline constexpr std::string_view kNameValue = "1.3.6.1.4.1.311.12.2.1";
inline constexpr std::string_view kIndirectData = "1.3.6.1.4.1.311.2.1.4";
inline constexpr std::string_view kPeImageData = "1.3.6.1.4.1.311.2.1.15";
inline constexpr std::string_view kContentType = "1.2.840.113549.1.9.3";
inline constexpr std::string_view kMessageDigest = "1.2.840.113549.1.9.4";

constexpr std::string_view Digest(HashAlgorithm hash) {
    return hash == HashAlgorithm::Sha1 ? "1.3.14.3.2.26" : "2.16.840.1.101.3.4.2.1";
}

constexpr std::string_view EcdsaWith(HashAlgorithm hash) {
    return hash == HashAlgorithm::Sha1 ? "1.2.840.10045.4.1" : "1.2.840.10045.4.3.2";
}

}  // namespace usbwiz::oid
