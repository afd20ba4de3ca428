#pragma once

#include <string_view>

namespace usbwiz {

// Whether this build's VerifySignature (platform/Signing.h) can check signatures of the key of
// `publicKeyInfo` (DER SubjectPublicKeyInfo) at all; when not, its false answer says nothing
// about a signature. libcrypto checks RSA and ECDSA; CryptoAPI, as the Windows build uses it,
// RSA only.
bool CanCheckSignaturesOf(std::string_view publicKeyInfo);

}  // namespace usbwiz
