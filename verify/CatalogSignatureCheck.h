#pragma once

#include <cstdint>
#include <span>

#include "catalog/CertificateReader.h"
#include "verify/CatalogReader.h"
#include "verify/CertificateChain.h"

namespace usbwiz {

// A catalog's signature as Windows judges it before it trusts any member: its signed attributes
// name the trust list as content and hold its digest, the signer's key signed them (the DER SET
// OF of the attributes), the signer's certificate is valid at `now` and may sign code, and, when
// `roots` are given, it chains to one of them. Without roots the chain is not judged, and a
// catalog without a signature is only noted (Unsigned).
TrustOutcome CheckCatalogSignature(const ParsedCatalog& catalog,
                                   std::span<const ParsedCertificate> roots, std::int64_t now);

}  // namespace usbwiz
