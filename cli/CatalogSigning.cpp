#include "cli/CatalogSigning.h"

#include <ctime>

#include "catalog/TestCertificate.h"
#include "cli/ReadSmallFile.h"

namespace usbwiz {

namespace {

constexpr int kTestCertificateDays = 90;

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

PreparedSigner Refused(std::string why) {
    PreparedSigner refused;
    refused.error = std::move(why);
    return refused;
}

// The key's own certificate must be usable for code signing now, and the key must be its key:
// the same public key, or (the same key may be encoded otherwise) a signature made with it must
// verify with the certificate's public key. Each catalog's signature is verified once more.
std::string CheckSigner(const SigningKey& key, const CertificateFacts& certificate,
                        std::int64_t now) {
    if (now < certificate.notBefore)
        return "the certificate is valid only from " + Date(certificate.notBefore);
    if (now > certificate.notAfter)
        return "the certificate expired on " + Date(certificate.notAfter);
    if (!certificate.codeSigning) return "the certificate is not for code signing";
    constexpr std::string_view kProbe = "usbdrvgen: does this key belong to the certificate?";
    if (key.PublicKeyInfo() != certificate.publicKeyInfo &&
        !VerifySignature(certificate.publicKeyInfo, HashAlgorithm::Sha256, kProbe,
                         key.Sign(HashAlgorithm::Sha256, kProbe)))
        return "the private key does not belong to the certificate";
    return {};
}

std::optional<std::string> Password(const CommandLineOptions& o, std::istream& input,
                                    const EnvironmentLookup& environment, std::string& error) {
    if (o.signPasswordEnv) {
        std::optional<std::string> value = environment(*o.signPasswordEnv);
        if (!value) error = "--sign-password-env: " + *o.signPasswordEnv + " is not set";
        return value;
    }
    std::string line;
    if (o.signPasswordStdin && std::getline(input, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return line;
    }
    if (o.signPasswordStdin) {
        error = "--sign-password-stdin: standard input holds no password line";
        return std::nullopt;
    }
    return std::string();  // a PKCS #12 file without a password
}

std::string RandomSerialNumber() {
    std::string serial = RandomBytes(16);
    serial[0] = static_cast<char>(serial[0] & 0x7F);
    return serial;
}

LoadedSigner Load(const CommandLineOptions& o, std::istream& passwordInput,
                  const EnvironmentLookup& environment) {
    if (o.signPfx) {
        const FileText file = ReadSmallFile(*o.signPfx);
        if (!file.error.empty())
            return {nullptr, {}, "--sign-pfx: " + *o.signPfx + ": " + file.error};
        std::string error;
        const std::optional<std::string> password = Password(o, passwordInput, environment, error);
        if (!password) return {nullptr, {}, error};
        LoadedSigner loaded = LoadPkcs12(file.text, *password);
        if (!loaded.error.empty()) loaded.error = "--sign-pfx: " + *o.signPfx + ": " + loaded.error;
        return loaded;
    }
    const FileText certificate = ReadSmallFile(*o.signCert);
    if (!certificate.error.empty())
        return {nullptr, {}, "--sign-cert: " + *o.signCert + ": " + certificate.error};
    const FileText key = ReadSmallFile(*o.signKey);
    if (!key.error.empty()) return {nullptr, {}, "--sign-key: " + *o.signKey + ": " + key.error};
    LoadedSigner loaded = LoadPem(certificate.text, key.text);
    if (!loaded.error.empty()) loaded.error = "--sign-cert/--sign-key: " + loaded.error;
    return loaded;
}

}  // namespace

PreparedSigner PrepareSigner(const CommandLineOptions& options, std::string_view longName,
                             HashAlgorithm hash, std::int64_t now, std::istream& passwordInput,
                             const EnvironmentLookup& environment) {
    PreparedSigner prepared;
    std::vector<std::string> certificates;
    if (options.testCertificateDir) {
        prepared.key = GenerateSigningKey(KeyAlgorithm::Rsa);
        prepared.testCertificate =
            BuildTestCertificate(*prepared.key, std::string(longName) + " driver test certificate",
                                 now, kTestCertificateDays, hash, RandomSerialNumber());
        certificates.push_back(prepared.testCertificate);
    } else if (options.signPfx || options.signCert) {
        LoadedSigner loaded = Load(options, passwordInput, environment);
        if (!loaded.error.empty()) return Refused(loaded.error);
        prepared.key = std::move(loaded.key);
        certificates = std::move(loaded.certificates);
    } else {
        return prepared;
    }
    const std::optional<CertificateFacts> facts = ReadCertificate(certificates.front());
    if (!facts) return Refused("the signing certificate cannot be read");
    if (std::string why = CheckSigner(*prepared.key, *facts, now); !why.empty())
        return Refused("cannot sign: " + why);
    prepared.signer = {prepared.key.get(), std::move(certificates), *facts};
    return prepared;
}

}  // namespace usbwiz
