#include "catalog/CatalogSignature.h"

#include <stdexcept>

#include "catalog/AlgorithmOids.h"
#include "catalog/CertificateReader.h"
#include "catalog/DerReader.h"
#include "catalog/DerWriter.h"

namespace usbwiz {

namespace {

constexpr std::string_view kOpusInfoOid = "1.3.6.1.4.1.311.2.1.12";
constexpr std::string_view kStatementTypeOid = "1.3.6.1.4.1.311.2.1.11";
constexpr std::string_view kIndividualCodeSigningOid = "1.3.6.1.4.1.311.2.1.21";

std::string DigestAlgorithm(HashAlgorithm hash) {
    return der::Sequence({der::ObjectIdentifier(oid::Digest(hash)), der::Null()});
}

std::string SignatureAlgorithm(KeyAlgorithm key, HashAlgorithm hash) {
    if (key == KeyAlgorithm::Rsa)
        return der::Sequence({der::ObjectIdentifier(oid::kRsaEncryption), der::Null()});
    return der::Sequence({der::ObjectIdentifier(oid::EcdsaWith(hash))});
}

std::string Attribute(std::string_view oid, std::string value) {
    return der::Sequence({der::ObjectIdentifier(oid), der::SetOf({std::move(value)})});
}

}  // namespace

std::string BuildSignedCatalogFile(const CatalogContents& contents, const CatalogSigner& signer) {
    if (signer.key == nullptr || signer.certificates.empty())
        throw std::invalid_argument("a signed catalog needs a key and its certificate");
    const std::optional<ParsedCertificate> certificate =
        ParseCertificate(signer.certificates.front());
    if (!certificate) throw std::invalid_argument("the signing certificate cannot be read");
    const HashAlgorithm hash = contents.algorithm;
    const std::string trustList = BuildTrustList(contents);

    // PKCS #7 digests the contents octets of content that is not data.
    const std::string_view listContents = der::ReadWhole(trustList).value().contents;
    const std::vector<std::string> attributes = {
        Attribute(oid::kContentType, der::ObjectIdentifier(oid::kCertificateTrustList)),
        Attribute(kOpusInfoOid, der::Sequence({})),
        Attribute(kStatementTypeOid,
                  der::Sequence({der::ObjectIdentifier(kIndividualCodeSigningOid)})),
        Attribute(oid::kMessageDigest, der::OctetString(Digest(hash, listContents))),
    };
    // The signature covers the attributes as a SET OF; the SignerInfo holds them [0] IMPLICIT.
    const std::string signedAttributes = der::SetOf(attributes);
    const std::string signature = signer.key->Sign(hash, signedAttributes);
    // A damaged key can make signatures that verify with nothing: never write one. The key's
    // public half is its certificate's, and at hand without decoding the certificate's.
    if (!signer.key->Verifies(hash, signedAttributes, signature)) throw SignatureNotVerified();

    const std::string signerInfo = der::Sequence({
        der::Integer(1),
        der::Sequence({certificate->issuer, certificate->serialNumber}),
        DigestAlgorithm(hash),
        der::Implicit(0, signedAttributes),
        SignatureAlgorithm(signer.key->Algorithm(), hash),
        der::OctetString(signature),
    });
    return CatalogSignedData(trustList, {DigestAlgorithm(hash)}, signer.certificates, {signerInfo});
}

}  // namespace usbwiz
