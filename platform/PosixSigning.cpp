#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <stdexcept>

#include "platform/Signing.h"

namespace usbwiz {

namespace {

struct Freed {
    void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
    void operator()(X509* p) const { X509_free(p); }
    void operator()(BIO* p) const { BIO_free(p); }
    void operator()(PKCS12* p) const { PKCS12_free(p); }
    void operator()(EVP_MD_CTX* p) const { EVP_MD_CTX_free(p); }
    void operator()(EVP_PKEY_CTX* p) const { EVP_PKEY_CTX_free(p); }
    void operator()(STACK_OF(X509) * p) const { sk_X509_pop_free(p, X509_free); }
};
template <typename T>
using Owned = std::unique_ptr<T, Freed>;

const EVP_MD* MdOf(HashAlgorithm hash) {
    return hash == HashAlgorithm::Sha1 ? EVP_sha1() : EVP_sha256();
}

template <typename T, typename Encode>
std::string Der(T* object, Encode encode) {
    unsigned char* bytes = nullptr;
    const int n = encode(object, &bytes);
    if (n <= 0) throw std::runtime_error("libcrypto: cannot encode");
    std::string der(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(n));
    OPENSSL_free(bytes);
    return der;
}

std::int64_t Seconds(const ASN1_TIME* time) {
    struct tm t {};
    if (ASN1_TIME_to_tm(time, &t) != 1) return 0;
    return static_cast<std::int64_t>(timegm(&t));
}

class OpenSslKey final : public SigningKey {
  public:
    explicit OpenSslKey(Owned<EVP_PKEY> key) : key_(std::move(key)) {}

    KeyAlgorithm Algorithm() const override {
        return EVP_PKEY_base_id(key_.get()) == EVP_PKEY_EC ? KeyAlgorithm::EcdsaP256
                                                           : KeyAlgorithm::Rsa;
    }
    std::string PublicKeyInfo() const override { return Der(key_.get(), i2d_PUBKEY); }
    std::string Sign(HashAlgorithm hash, std::string_view data) const override {
        const Owned<EVP_MD_CTX> context(EVP_MD_CTX_new());
        std::size_t size = 0;
        if (!context ||
            EVP_DigestSignInit(context.get(), nullptr, MdOf(hash), nullptr, key_.get()) != 1 ||
            EVP_DigestSign(context.get(), nullptr, &size,
                           reinterpret_cast<const unsigned char*>(data.data()), data.size()) != 1)
            throw std::runtime_error("libcrypto: cannot sign");
        std::string signature(size, '\0');
        if (EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &size,
                           reinterpret_cast<const unsigned char*>(data.data()), data.size()) != 1)
            throw std::runtime_error("libcrypto: cannot sign");
        signature.resize(size);
        return signature;
    }

  private:
    Owned<EVP_PKEY> key_;
};

bool SupportedKey(EVP_PKEY* key) {
    if (EVP_PKEY_base_id(key) == EVP_PKEY_RSA) return true;
    return EVP_PKEY_base_id(key) == EVP_PKEY_EC && EVP_PKEY_get_bits(key) == 256;
}

LoadedSigner Signer(Owned<EVP_PKEY> key, std::vector<std::string> certificates) {
    if (!SupportedKey(key.get())) return {nullptr, {}, "the key is neither RSA nor ECDSA P-256"};
    return {std::make_unique<OpenSslKey>(std::move(key)), std::move(certificates), {}};
}

}  // namespace

std::optional<CertificateFacts> ReadCertificate(std::string_view der) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(der.data());
    const Owned<X509> certificate(d2i_X509(nullptr, &bytes, static_cast<long>(der.size())));
    if (!certificate) return std::nullopt;
    X509* c = certificate.get();
    CertificateFacts facts;
    facts.issuer = Der(X509_get_issuer_name(c), i2d_X509_NAME);
    facts.subject = Der(X509_get_subject_name(c), i2d_X509_NAME);
    facts.serialNumber = Der(X509_get_serialNumber(c), i2d_ASN1_INTEGER);
    facts.publicKeyInfo = Der(X509_get_X509_PUBKEY(c), i2d_X509_PUBKEY);
    facts.notBefore = Seconds(X509_get0_notBefore(c));
    facts.notAfter = Seconds(X509_get0_notAfter(c));
    // No extended key usage means any use; otherwise code signing must be among them.
    const std::uint32_t usage = X509_get_extended_key_usage(c);
    facts.codeSigning = (X509_get_extension_flags(c) & EXFLAG_XKUSAGE) == 0 ||
                        (usage & XKU_CODE_SIGN) != 0 || (usage & XKU_ANYEKU) != 0;
    return facts;
}

bool VerifySignature(std::string_view publicKeyInfo, HashAlgorithm hash, std::string_view data,
                     std::string_view signature) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(publicKeyInfo.data());
    const Owned<EVP_PKEY> key(d2i_PUBKEY(nullptr, &bytes, static_cast<long>(publicKeyInfo.size())));
    const Owned<EVP_MD_CTX> context(EVP_MD_CTX_new());
    if (!key || !context ||
        EVP_DigestVerifyInit(context.get(), nullptr, MdOf(hash), nullptr, key.get()) != 1)
        return false;
    const int verified = EVP_DigestVerify(
        context.get(), reinterpret_cast<const unsigned char*>(signature.data()), signature.size(),
        reinterpret_cast<const unsigned char*>(data.data()), data.size());
    ERR_clear_error();
    return verified == 1;
}

LoadedSigner LoadPkcs12(std::string_view bytes, std::string_view password) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const Owned<PKCS12> pkcs12(d2i_PKCS12(nullptr, &in, static_cast<long>(bytes.size())));
    if (!pkcs12) return {nullptr, {}, "not a PKCS #12 file"};
    const std::string pass(password);
    if (PKCS12_verify_mac(pkcs12.get(), pass.c_str(), static_cast<int>(pass.size())) != 1) {
        ERR_clear_error();
        return {nullptr, {}, "wrong password"};
    }
    EVP_PKEY* key = nullptr;
    X509* certificate = nullptr;
    STACK_OF(X509)* chain = nullptr;
    if (PKCS12_parse(pkcs12.get(), pass.c_str(), &key, &certificate, &chain) != 1) {
        ERR_clear_error();
        return {nullptr, {}, "cannot read the PKCS #12 file"};
    }
    Owned<EVP_PKEY> ownedKey(key);
    const Owned<X509> ownedCertificate(certificate);
    const Owned<STACK_OF(X509)> ownedChain(chain);
    if (!ownedKey || !ownedCertificate)
        return {nullptr, {}, "the file holds no key and certificate"};
    std::vector<std::string> certificates{Der(certificate, i2d_X509)};
    for (int i = 0; chain != nullptr && i < sk_X509_num(chain); ++i)
        certificates.push_back(Der(sk_X509_value(chain, i), i2d_X509));
    return Signer(std::move(ownedKey), std::move(certificates));
}

LoadedSigner LoadPem(std::string_view certificatesPem, std::string_view keyPem) {
    const Owned<BIO> certificatesIn(
        BIO_new_mem_buf(certificatesPem.data(), static_cast<int>(certificatesPem.size())));
    std::vector<std::string> certificates;
    while (X509* certificate = PEM_read_bio_X509(certificatesIn.get(), nullptr, nullptr, nullptr)) {
        const Owned<X509> owned(certificate);
        certificates.push_back(Der(certificate, i2d_X509));
    }
    ERR_clear_error();
    if (certificates.empty()) return {nullptr, {}, "no PEM certificate in the certificate file"};
    const Owned<BIO> keyIn(BIO_new_mem_buf(keyPem.data(), static_cast<int>(keyPem.size())));
    // An encrypted key would ask for a passphrase on the terminal: refuse it instead.
    Owned<EVP_PKEY> key(PEM_read_bio_PrivateKey(
        keyIn.get(), nullptr, [](char*, int, int, void*) { return -1; }, nullptr));
    ERR_clear_error();
    if (!key) return {nullptr, {}, "no unencrypted PEM private key in the key file"};
    return Signer(std::move(key), std::move(certificates));
}

std::unique_ptr<SigningKey> GenerateSigningKey(KeyAlgorithm algorithm) {
    EVP_PKEY* key = algorithm == KeyAlgorithm::Rsa
                        ? EVP_PKEY_Q_keygen(nullptr, nullptr, "RSA", std::size_t{3072})
                        : EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256");
    if (key == nullptr) throw std::runtime_error("libcrypto: cannot make a key");
    return std::make_unique<OpenSslKey>(Owned<EVP_PKEY>(key));
}

std::string RandomBytes(std::size_t count) {
    std::string bytes(count, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int>(count)) != 1)
        throw std::runtime_error("libcrypto: no random bytes");
    return bytes;
}

}  // namespace usbwiz
