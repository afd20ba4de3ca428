#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "catalog/CertificateReader.h"
#include "verify/Verdict.h"

namespace usbwiz {

struct TrustOutcome {
    Verdict verdict = Verdict::Ok;
    std::string reason;
};

// A certificate's name for people: its common name in quotes.
std::string CertificateName(const ParsedCertificate& certificate);

// Expired or NotYetValid, naming the certificate as `role` and the date; nullopt when `now`
// lies within its validity.
std::optional<TrustOutcome> OutsideValidity(const ParsedCertificate& certificate,
                                            std::string_view role, std::int64_t now);

// Whether `issuer`'s key made `certificate`'s signature; a TrustOutcome of CannotCheck when this
// build cannot tell (an algorithm it does not know, a key kind it cannot check).
struct IssuedBy {
    bool issued = false;
    std::optional<TrustOutcome> cannotCheck;
};
IssuedBy CheckIssuedBy(const ParsedCertificate& certificate, const ParsedCertificate& issuer);

// Ok when `signer` leads to one of `roots` through `others` (the catalog's certificates): each
// certificate signed by the next, each issuer a certificate authority valid at `now`, as Windows
// builds a chain. Otherwise why not: Untrusted (self-signed, unknown issuer, an issuer that is
// no authority), Expired, NotYetValid or CannotCheck. The signer's own validity is not judged.
TrustOutcome CheckChain(const ParsedCertificate& signer, std::span<const std::string_view> others,
                        std::span<const ParsedCertificate> roots, std::int64_t now);

}  // namespace usbwiz
