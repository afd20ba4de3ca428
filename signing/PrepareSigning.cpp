#include "signing/PrepareSigning.h"

#include <stdexcept>
#include <variant>

#include "catalog/CertificateReader.h"
#include "catalog/TestCertificate.h"
#include "signing/Pem.h"
#include "signing/PrivateKeyFile.h"
#include "signing/SignerChain.h"
#include "signing/SignerChecks.h"
#include "signing/TestCertificateFolder.h"
#include "signing/TestCertificateName.h"

namespace usbwiz {

namespace {

constexpr int kTestCertificateDays = 90;

PreparedSigning Refused(SigningInput input, std::string reason) {
    PreparedSigning refused;
    refused.refusal = SigningRefusal{input, std::move(reason)};
    return refused;
}

std::string RandomSerialNumber() {
    std::string serial = RandomBytes(16);
    serial[0] = static_cast<char>(serial[0] & 0x7F);
    return serial;
}

// The key and certificates of the request, or why there are none.
struct Loaded {
    std::unique_ptr<SigningKey> key;
    std::vector<std::string> certificates;
    std::string testCertificate;
    std::optional<SigningRefusal> refusal;
};

Loaded Refusal(SigningInput input, std::string reason) {
    return {nullptr, {}, {}, SigningRefusal{input, std::move(reason)}};
}

Loaded LoadPemFiles(const SigningRequest& request) {
    const std::optional<std::vector<PemBlock>> blocks = ReadPemBlocks(request.certificates);
    if (!blocks)
        return Refusal(SigningInput::CertificateFile, "a PEM block of the file is damaged");
    Loaded loaded;
    for (const PemBlock& block : *blocks)
        if (block.label == "CERTIFICATE") loaded.certificates.push_back(block.bytes);
    if (loaded.certificates.empty())
        return Refusal(SigningInput::CertificateFile, "no PEM certificate in the file");
    const KeyFileReading reading = ReadPrivateKeyFile(request.privateKey, request.password);
    if (!reading.key)
        return Refusal(reading.passwordRefused ? SigningInput::Password : SigningInput::KeyFile,
                       reading.problem);
    if (AlgorithmOf(*reading.key) != KeyAlgorithm::Rsa && request.hash == HashAlgorithm::Sha1)
        return Refusal(SigningInput::Signer, std::string(kEcdsaForSha1));
    ImportedKey imported = std::visit(
        [](const auto& numbers) {
            if constexpr (std::is_same_v<std::decay_t<decltype(numbers)>, RsaPrivateNumbers>)
                return ImportRsaPrivateKey(numbers);
            else
                return ImportEcPrivateKey(numbers);
        },
        *reading.key);
    if (!imported.key) return Refusal(SigningInput::KeyFile, imported.error);
    loaded.key = std::move(imported.key);
    return loaded;
}

Loaded LoadPkcs12(const SigningRequest& request) {
    Pkcs12Contents contents = ImportPkcs12(request.pkcs12, request.password.value_or(""));
    if (!contents.error.empty())
        return Refusal(contents.passwordRefused ? SigningInput::Password : SigningInput::Pkcs12File,
                       contents.error);
    if (contents.key->Algorithm() != KeyAlgorithm::Rsa && request.hash == HashAlgorithm::Sha1)
        return Refusal(SigningInput::Signer, std::string(kEcdsaForSha1));
    return {std::move(contents.key), std::move(contents.certificates), {}, std::nullopt};
}

Loaded MakeTestCertificate(const SigningRequest& request) {
    if (const std::optional<std::string> why =
            WhyNoTestCertificateFolder(request.testCertificateFolder, request.packageFolder))
        return Refusal(SigningInput::TestCertificateFolder, *why);
    Loaded loaded;
    loaded.key = GenerateSigningKey(KeyAlgorithm::Rsa);
    loaded.testCertificate =
        BuildTestCertificate(*loaded.key, TestCertificateCommonName(request.longName), request.now,
                             kTestCertificateDays, request.hash, RandomSerialNumber());
    loaded.certificates.push_back(loaded.testCertificate);
    return loaded;
}

Loaded Load(const SigningRequest& request) {
    switch (request.source) {
        case SigningSource::Pkcs12:
            return LoadPkcs12(request);
        case SigningSource::PemFiles:
            return LoadPemFiles(request);
        case SigningSource::TestCertificate:
            return MakeTestCertificate(request);
        case SigningSource::None:
            break;
    }
    return {};
}

// The signer's certificate and its chain, or why the key may not sign.
std::variant<std::vector<std::string>, SigningRefusal> ChooseChain(
    const SigningKey& key, const std::vector<std::string>& certificates,
    const SigningRequest& request) {
    const SigningInput file = request.source == SigningSource::Pkcs12
                                  ? SigningInput::Pkcs12File
                                  : SigningInput::CertificateFile;
    std::vector<ParsedCertificate> parsed;
    for (std::size_t i = 0; i < certificates.size(); ++i) {
        std::optional<ParsedCertificate> certificate = ParseCertificate(certificates[i]);
        if (!certificate)
            return SigningRefusal{
                file, "certificate " + std::to_string(i + 1) + " of the file cannot be read"};
        parsed.push_back(std::move(*certificate));
    }
    const std::vector<std::size_t> candidates = CertificatesOfKey(key, parsed);
    if (candidates.empty())
        return SigningRefusal{SigningInput::Signer,
                              "the private key does not belong to the certificate (to none "
                              "of the file's)"};
    // A key may have been certified more than once (a renewal): the first that may sign.
    std::string firstReason;
    for (const std::size_t candidate : candidates) {
        std::string why = WhyCertificateCannotSign(parsed[candidate], request.hash, request.now);
        if (why.empty()) {
            constexpr std::string_view kProbe = "usbdrvgen: does this key sign as it should?";
            if (request.probeSignature &&
                !VerifySignature(parsed[candidate].publicKeyInfo, request.hash, kProbe,
                                 key.Sign(request.hash, kProbe)))
                return RefusalOfFailedSignature(SignatureNotVerified());
            return ChainOf(candidate, parsed);
        }
        if (firstReason.empty()) firstReason = std::move(why);
    }
    return SigningRefusal{SigningInput::Signer, firstReason};
}

}  // namespace

PreparedSigning PrepareSigning(const SigningRequest& request) {
    Loaded loaded = Load(request);
    if (loaded.refusal) return Refused(loaded.refusal->input, std::move(loaded.refusal->reason));
    PreparedSigning prepared;
    if (!loaded.key) return prepared;
    try {
        auto chosen = ChooseChain(*loaded.key, loaded.certificates, request);
        if (auto* refusal = std::get_if<SigningRefusal>(&chosen))
            return Refused(refusal->input, std::move(refusal->reason));
        prepared.signer.certificates = std::move(std::get<std::vector<std::string>>(chosen));
    } catch (const std::runtime_error& failed) {
        // A key the library took but cannot sign with is refused like any other unusable key.
        SigningRefusal refusal = RefusalOfFailedSignature(failed);
        return Refused(refusal.input, std::move(refusal.reason));
    }
    prepared.key = std::move(loaded.key);
    prepared.signer.key = prepared.key.get();
    prepared.testCertificate = std::move(loaded.testCertificate);
    return prepared;
}

SigningRefusal RefusalOfFailedSignature(const std::exception& failure) {
    if (dynamic_cast<const SignatureNotVerified*>(&failure) != nullptr)
        return {SigningInput::Signer,
                "the private key is damaged: its signatures do not verify with its certificate"};
    return {SigningInput::Signer, std::string("the key cannot sign: ") + failure.what()};
}

}  // namespace usbwiz
