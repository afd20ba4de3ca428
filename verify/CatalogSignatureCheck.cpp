#include "verify/CatalogSignatureCheck.h"

#include "catalog/AlgorithmOids.h"
#include "platform/SignatureSupport.h"
#include "platform/Signing.h"

namespace usbwiz {

namespace {

// The signature algorithms a SignerInfo may name: PKCS #1 v1.5 (named by the key alone or with
// its digest, as signers differ) and ECDSA.
struct SignerAlgorithm {
    std::string_view oid;
    bool ecdsa;
};
constexpr SignerAlgorithm kSignerAlgorithms[] = {
    {oid::kRsaEncryption, false},
    {"1.2.840.113549.1.1.5", false},
    {"1.2.840.113549.1.1.11", false},
    {"1.2.840.10045.2.1", true},
    {oid::EcdsaWith(HashAlgorithm::Sha1), true},
    {oid::EcdsaWith(HashAlgorithm::Sha256), true},
};

std::optional<HashAlgorithm> HashNamed(std::string_view dotted) {
    for (const HashAlgorithm hash : {HashAlgorithm::Sha1, HashAlgorithm::Sha256})
        if (oid::Digest(hash) == dotted) return hash;
    return std::nullopt;
}

TrustOutcome Bad(std::string reason) {
    return {Verdict::BadSignature, std::move(reason)};
}

}  // namespace

TrustOutcome CheckCatalogSignature(const ParsedCatalog& catalog,
                                   std::span<const ParsedCertificate> roots, std::int64_t now) {
    if (!catalog.hasSigner)
        return roots.empty() ? TrustOutcome{Verdict::Unsigned,
                                            "no signature: Windows installs it as unsigned"}
                             : TrustOutcome{Verdict::Untrusted, "no signature"};
    if (!catalog.signer) return Bad(catalog.signerError);
    const CatalogSignerInfo& signer = *catalog.signer;

    const std::optional<HashAlgorithm> hash = HashNamed(signer.digestAlgorithm);
    if (!hash)
        return {Verdict::CannotCheck,
                "digest algorithm " + signer.digestAlgorithm + ", which this program cannot check"};
    if (signer.signedAttributes.empty()) return Bad("it has no signed attributes");
    if (signer.contentType != oid::kCertificateTrustList)
        return Bad("its signed content type is not a certificate trust list");
    if (signer.messageDigest != Digest(*hash, catalog.trustListContents))
        return Bad("the trust list does not match the digest its signature covers");

    std::optional<ParsedCertificate> certificate;
    for (const std::string_view der : catalog.certificates) {
        std::optional<ParsedCertificate> parsed = ParseCertificate(der);
        if (parsed && parsed->issuer == signer.issuer &&
            parsed->serialNumber == signer.serialNumber) {
            certificate = std::move(parsed);
            break;
        }
    }
    if (!certificate) return Bad("the signer's certificate is not in the catalog");

    const SignerAlgorithm* algorithm = nullptr;
    for (const SignerAlgorithm& known : kSignerAlgorithms)
        if (known.oid == signer.signatureAlgorithm) algorithm = &known;
    if (algorithm == nullptr)
        return {Verdict::CannotCheck, "signature algorithm " + signer.signatureAlgorithm +
                                          ", which this program cannot check"};
    const bool ecKey =
        certificate->keyKind != PublicKeyKind::Rsa && certificate->keyKind != PublicKeyKind::Other;
    if (algorithm->ecdsa != ecKey)
        return Bad("its signature algorithm is not one of the signer's key");
    if (!CanCheckSignaturesOf(certificate->publicKeyInfo))
        return {Verdict::CannotCheck, std::string("cannot check ") +
                                          (algorithm->ecdsa ? "ECDSA" : "RSA") +
                                          " signatures here"};
    // Signed as a SET OF; the SignerInfo holds the same octets tagged [0] IMPLICIT.
    std::string signedSet(signer.signedAttributes);
    signedSet[0] = 0x31;
    if (!VerifySignature(certificate->publicKeyInfo, *hash, signedSet, signer.signature))
        return Bad("the signature does not verify with the key of " +
                   CertificateName(*certificate));

    if (std::optional<TrustOutcome> outside = OutsideValidity(*certificate, "signer", now))
        return *outside;
    if (!certificate->AllowsCodeSigning() ||
        (certificate->keyUsage && (*certificate->keyUsage & key_usage::kDigitalSignature) == 0))
        return {Verdict::NotForCodeSigning,
                "signer " + CertificateName(*certificate) + " may not sign code"};
    if (roots.empty())
        return {Verdict::Ok, "signed by " + CertificateName(*certificate) +
                                 "; its chain is not checked without --root"};
    TrustOutcome chain = CheckChain(*certificate, catalog.certificates, roots, now);
    if (chain.verdict == Verdict::Ok)
        chain.reason =
            "signed by " + CertificateName(*certificate) + ", chained to " + chain.reason;
    return chain;
}

}  // namespace usbwiz
