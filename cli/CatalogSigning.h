#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <string>

#include "catalog/CatalogSignature.h"
#include "cli/CommandLine.h"
#include "cli/RunContext.h"

namespace usbwiz {

// The signer the command line asks for, loaded and checked before anything is written.
struct PreparedSigner {
    std::unique_ptr<SigningKey> key;
    CatalogSigner signer;         // signer.key points at `key`
    std::string testCertificate;  // DER, to be written when --test-certificate made one
    std::string error;            // why signing is refused; empty when it is not
};

// Nothing to prepare without a signing option (signer.key stays null). A PKCS #12 password
// comes from the variable given, looked up in `environment`, or the first line of
// `passwordInput`; it is never printed. Refused: a file that cannot be read, a wrong password, a
// certificate not valid at `now` or not for code signing, and a key that does not belong to the
// certificate. A test certificate is an RSA 3072 key and a certificate "CN=<longName> driver test
// certificate" valid for 90 days, signed with the catalogs' hash.
PreparedSigner PrepareSigner(const CommandLineOptions& options, std::string_view longName,
                             HashAlgorithm hash, std::int64_t now, std::istream& passwordInput,
                             const EnvironmentLookup& environment);

}  // namespace usbwiz
