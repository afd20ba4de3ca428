#include "verify/CertificateChain.h"

#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/SignatureSupport.h"
#include "platform/Signing.h"

namespace usbwiz {

namespace {

// Longer chains than this are not built (Windows' own chains have two to four certificates).
constexpr int kLongestChain = 8;

// The certificate signature algorithms this program checks, and the key each needs.
struct SignatureAlgorithm {
    std::string_view oid;
    HashAlgorithm hash;
    bool ecdsa;
};
constexpr SignatureAlgorithm kSignatureAlgorithms[] = {
    {"1.2.840.113549.1.1.5", HashAlgorithm::Sha1, false},
    {"1.2.840.113549.1.1.11", HashAlgorithm::Sha256, false},
    {"1.2.840.10045.4.1", HashAlgorithm::Sha1, true},
    {"1.2.840.10045.4.3.2", HashAlgorithm::Sha256, true},
};

std::string DateText(std::int64_t seconds) {
    using namespace std::chrono;
    const year_month_day date{floor<days>(sys_seconds{std::chrono::seconds{seconds}})};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

bool IsEc(const ParsedCertificate& certificate) {
    return certificate.keyKind == PublicKeyKind::EcP256 ||
           certificate.keyKind == PublicKeyKind::EcP384 ||
           certificate.keyKind == PublicKeyKind::EcP521;
}

bool IsRoot(const ParsedCertificate& certificate, std::span<const ParsedCertificate> roots) {
    for (const ParsedCertificate& root : roots)
        if (root.der == certificate.der || (root.subject == certificate.subject &&
                                            root.publicKeyInfo == certificate.publicKeyInfo))
            return true;
    return false;
}

bool IsAuthority(const ParsedCertificate& certificate) {
    return certificate.certificateAuthority &&
           (!certificate.keyUsage || (*certificate.keyUsage & key_usage::kKeyCertSign) != 0);
}

}  // namespace

std::string CertificateName(const ParsedCertificate& certificate) {
    return "\"" + certificate.commonName + "\"";
}

std::optional<TrustOutcome> OutsideValidity(const ParsedCertificate& certificate,
                                            std::string_view role, std::int64_t now) {
    const std::string who = std::string(role) + " " + CertificateName(certificate);
    if (now > certificate.notAfter)
        return TrustOutcome{Verdict::Expired,
                            who + " expired on " + DateText(certificate.notAfter)};
    if (now < certificate.notBefore)
        return TrustOutcome{Verdict::NotYetValid,
                            who + " is not valid before " + DateText(certificate.notBefore)};
    return std::nullopt;
}

IssuedBy CheckIssuedBy(const ParsedCertificate& certificate, const ParsedCertificate& issuer) {
    for (const SignatureAlgorithm& algorithm : kSignatureAlgorithms) {
        if (algorithm.oid != certificate.signatureAlgorithm) continue;
        if (algorithm.ecdsa != IsEc(issuer)) return {};
        if (!CanCheckSignaturesOf(issuer.publicKeyInfo))
            return {false,
                    TrustOutcome{Verdict::CannotCheck, std::string("cannot check ") +
                                                           (algorithm.ecdsa ? "ECDSA" : "RSA") +
                                                           " signatures here"}};
        return {VerifySignature(issuer.publicKeyInfo, algorithm.hash, certificate.toBeSigned,
                                certificate.signature),
                std::nullopt};
    }
    return {false,
            TrustOutcome{Verdict::CannotCheck,
                         CertificateName(certificate) + " is signed with algorithm " +
                             certificate.signatureAlgorithm + ", which this program cannot check"}};
}

TrustOutcome CheckChain(const ParsedCertificate& signer, std::span<const std::string_view> others,
                        std::span<const ParsedCertificate> roots, std::int64_t now) {
    std::vector<ParsedCertificate> candidates(roots.begin(), roots.end());
    for (const std::string_view der : others)
        if (std::optional<ParsedCertificate> parsed = ParseCertificate(der))
            candidates.push_back(std::move(*parsed));

    ParsedCertificate current = signer;
    for (int length = 0; length < kLongestChain; ++length) {
        if (IsRoot(current, roots))
            return {Verdict::Ok, "the given root " + CertificateName(current)};
        if (current.subject == current.issuer)
            return {Verdict::Untrusted,
                    "self-signed " + CertificateName(current) + " is not a given root"};
        const ParsedCertificate* issuer = nullptr;
        std::optional<TrustOutcome> cannotCheck;
        for (const ParsedCertificate& candidate : candidates) {
            if (candidate.subject != current.issuer) continue;
            const IssuedBy checked = CheckIssuedBy(current, candidate);
            if (checked.cannotCheck) cannotCheck = checked.cannotCheck;
            if (checked.issued) {
                issuer = &candidate;
                break;
            }
        }
        if (issuer == nullptr)
            return cannotCheck ? *cannotCheck
                               : TrustOutcome{Verdict::Untrusted,
                                              "unknown issuer \"" + CommonNameOf(current.issuer) +
                                                  "\" of " + CertificateName(current)};
        if (!IsRoot(*issuer, roots) && !IsAuthority(*issuer))
            return {Verdict::Untrusted,
                    "issuer " + CertificateName(*issuer) + " is not a certificate authority"};
        if (std::optional<TrustOutcome> outside = OutsideValidity(*issuer, "issuer", now))
            return *outside;
        current = *issuer;
    }
    return {Verdict::Untrusted,
            "no root within " + std::to_string(kLongestChain) + " certificates"};
}

}  // namespace usbwiz
