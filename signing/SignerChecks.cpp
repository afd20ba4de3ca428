#include "signing/SignerChecks.h"

#include <ctime>

#include "settings/Utf8.h"

namespace usbwiz {

namespace {

constexpr unsigned kLeastRsaBits = 2048;

std::string Date(std::int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    char text[16] = {};
    std::tm parts{};
#ifdef _WIN32
    gmtime_s(&parts, &time);
#else
    gmtime_r(&time, &parts);
#endif
    std::strftime(text, sizeof text, "%Y-%m-%d", &parts);
    return text;
}

}  // namespace

std::string WhyCertificateCannotSign(const ParsedCertificate& certificate, HashAlgorithm hash,
                                     std::int64_t now) {
    const std::string named = certificate.commonName.empty()
                                  ? std::string("the certificate")
                                  : "the certificate '" + Printable(certificate.commonName) + "'";
    if (now < certificate.notBefore)
        return named + " is valid only from " + Date(certificate.notBefore);
    if (now > certificate.notAfter) return named + " expired on " + Date(certificate.notAfter);
    if (!certificate.AllowsCodeSigning())
        return named + " is not for code signing (its extended key usage)";
    if (certificate.keyUsage && (*certificate.keyUsage & key_usage::kDigitalSignature) == 0)
        return (*certificate.keyUsage & (key_usage::kKeyCertSign | key_usage::kCrlSign)) != 0
                   ? named +
                         " is a certificate authority's, for certificates and CRLs only "
                         "(its key usage), not a code signer's"
                   : named + " does not allow digital signatures (its key usage)";
    switch (certificate.keyKind) {
        case PublicKeyKind::Rsa:
            if (certificate.keyBits < kLeastRsaBits)
                return named + " holds an RSA key of " + std::to_string(certificate.keyBits) +
                       " bits; at least " + std::to_string(kLeastRsaBits) + " are needed";
            return {};
        case PublicKeyKind::EcP256:
        case PublicKeyKind::EcP384:
        case PublicKeyKind::EcP521:
            return hash == HashAlgorithm::Sha1 ? std::string(kEcdsaForSha1) : std::string();
        case PublicKeyKind::Other:
            break;
    }
    return named + " holds a key that is neither RSA nor ECDSA P-256, P-384 or P-521";
}

}  // namespace usbwiz
