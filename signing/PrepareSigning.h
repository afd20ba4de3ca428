#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "catalog/CatalogSignature.h"
#include "platform/Signing.h"

namespace usbwiz {

enum class SigningSource { None, Pkcs12, PemFiles, TestCertificate };

// What signing is asked for, as plain inputs: the front end reads the files and the password.
struct SigningRequest {
    SigningSource source = SigningSource::None;
    std::string pkcs12;                    // Pkcs12: the file's bytes
    std::string certificates, privateKey;  // PemFiles: the two files' text
    // The password of a PKCS #12 file (none: the empty password) or of an encrypted key.
    std::optional<std::string> password;
    // TestCertificate: the folder it goes into and the package's folder (empty: none), which it
    // must stay out of (paths as this system's file calls take them), and the package's long
    // name.
    std::string testCertificateFolder, packageFolder, longName;
    HashAlgorithm hash = HashAlgorithm::Sha1;  // of the catalogs
    std::int64_t now = 0;                      // seconds since 1970
    // Whether a signature is made and verified here, to refuse a damaged key. A front end that
    // verifies every signature before anything is moved onto its final name (the catalogs do)
    // leaves it to them: on a signed run that is one RSA signature less.
    bool probeSignature = true;
};

// The input a refusal is about, for the front end to name in its own words.
enum class SigningInput {
    Pkcs12File,
    CertificateFile,
    KeyFile,
    Password,  // an encrypted key without one
    TestCertificateFolder,
    Signer,  // the key and the certificate chosen for it
};

struct SigningRefusal {
    SigningInput input;
    std::string reason;  // one line, without the input's name
};

struct PreparedSigning {
    std::unique_ptr<SigningKey> key;
    CatalogSigner signer;         // signer.key points at `key`; null for SigningSource::None
    std::string testCertificate;  // DER, made for SigningSource::TestCertificate
    std::optional<SigningRefusal> refusal;
};

// The signer loaded and checked before anything is moved into place, alike in every build and for
// every front end. A test certificate's folder is checked first (TestCertificateFolder.h), then an
// RSA 3072 key made and a self-signed certificate of TestCertificateCommonName, valid from
// `now` for 90 days, signed with the catalogs' hash. A PKCS #12 file is opened by the system's
// library; PEM files are read by our own code (PrivateKeyFile.h). The signer's certificate is
// the one of the file(s) that holds the key and passes WhyCertificateCannotSign; the signature
// carries it and its issuers (ChainOf). A signature made with the key must verify with it
// (unless probeSignature is false).
PreparedSigning PrepareSigning(const SigningRequest& request);

// Why a key is refused whose signature failed, here or later (`failure`: what signing threw):
// SignatureNotVerified shows a damaged key; anything else, a key that cannot sign.
SigningRefusal RefusalOfFailedSignature(const std::exception& failure);

}  // namespace usbwiz
