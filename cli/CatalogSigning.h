#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

#include "catalog/CatalogSignature.h"
#include "cli/CommandLine.h"
#include "cli/RunContext.h"

namespace usbwiz {

// The signer the command line asks for, loaded and checked before anything is moved into place.
struct PreparedSigner {
    std::unique_ptr<SigningKey> key;
    CatalogSigner signer;         // signer.key points at `key`
    std::string testCertificate;  // DER, to be written when --test-certificate made one
    std::string error;            // why signing is refused, one line; empty when it is not
};

// The command line's side of signing/PrepareSigning.h: reads the files the options name and
// the password (of a PKCS #12 file or an encrypted key) from the environment variable given,
// looked up in `environment`, or the first line of `passwordInput`, and words a refusal with the
// option it is about. Nothing to prepare without a signing option (signer.key stays null). No
// password, and nothing else given to a password option, is ever part of a message; a variable
// is named only when the argument is a variable's name.
// The key is not probed with a signature of its own: every catalog signature is verified
// before anything is moved onto its final name, and one that fails refuses the key
// (SignatureRefusal).
PreparedSigner PrepareSigner(const CommandLineOptions& options, std::string_view longName,
                             HashAlgorithm hash, std::int64_t now, std::istream& passwordInput,
                             const EnvironmentLookup& environment);

// The refusal of the key when a signature it made fails (`failure`: what signing threw), in the
// words PrepareSigner gives a refusal.
std::string SignatureRefusal(const std::exception& failure, const CommandLineOptions& options);

}  // namespace usbwiz
