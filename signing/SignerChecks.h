#pragma once

#include <cstdint>
#include <string>

#include "catalog/CertificateReader.h"
#include "platform/Hashing.h"

namespace usbwiz {

// Why `certificate` may not sign catalogs of `hash` at `now` (seconds since 1970), one line
// that names the certificate; empty when it may. Judged from our own certificate reader, so
// that every build gives the same verdict: it must be valid at `now`; allow code signing
// (extended key usage); allow digital signatures when its key usage is limited (a certificate
// authority's, for certificates and CRLs only, signs no code); hold an RSA key of at least 2048
// bits or an ECDSA key on P-256, P-384 or P-521, the latter for SHA-256 catalogs only (the
// SHA-1 form is for Windows XP and earlier, which verify RSA only).
std::string WhyCertificateCannotSign(const ParsedCertificate& certificate, HashAlgorithm hash,
                                     std::int64_t now);

// What ECDSA with SHA-1 catalogs is refused with; also before a key is read.
inline constexpr std::string_view kEcdsaForSha1 =
    "ECDSA keys sign SHA-256 catalogs only (the SHA-1 form is for Windows XP and earlier, "
    "which verify RSA only)";

}  // namespace usbwiz
