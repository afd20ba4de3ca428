#include "signing/SignerChain.h"

#include <optional>

namespace usbwiz {

std::vector<std::size_t> CertificatesOfKey(const SigningKey& key,
                                           const std::vector<ParsedCertificate>& certificates) {
    const std::string publicKey = key.PublicKeyInfo();
    std::vector<std::size_t> matching;
    for (std::size_t i = 0; i < certificates.size(); ++i)
        if (certificates[i].publicKeyInfo == publicKey) matching.push_back(i);
    if (!matching.empty()) return matching;
    constexpr std::string_view kProbe = "usbdrvgen: which certificate is this key's?";
    const std::string signature = key.Sign(HashAlgorithm::Sha256, kProbe);
    for (std::size_t i = 0; i < certificates.size(); ++i)
        if (VerifySignature(certificates[i].publicKeyInfo, HashAlgorithm::Sha256, kProbe,
                            signature))
            matching.push_back(i);
    return matching;
}

std::vector<std::string> ChainOf(std::size_t leaf,
                                 const std::vector<ParsedCertificate>& certificates) {
    std::vector<bool> taken(certificates.size(), false);
    std::vector<std::string> chain;
    for (std::optional<std::size_t> at = leaf; at;) {
        const ParsedCertificate& current = certificates[*at];
        chain.emplace_back(current.der);
        taken[*at] = true;
        if (current.issuer == current.subject) break;
        at.reset();
        for (std::size_t i = 0; i < certificates.size(); ++i)
            if (!taken[i] && certificates[i].subject == current.issuer &&
                certificates[i].issuer != certificates[i].subject &&
                (!at || certificates[i].der < certificates[*at].der))
                at = i;
    }
    return chain;
}

}  // namespace usbwiz
