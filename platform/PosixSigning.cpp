#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/ec.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>
#include <openssl/pkcs12.h>
#include <openssl/rand.h>
#include <openssl/x509.h>

#include <optional>
#include <stdexcept>
#include <vector>

#include "platform/PosixLibcrypto.h"
#include "platform/Signing.h"

namespace usbwiz {

namespace {

constexpr std::string_view kUnsupportedKey =
    "the key is neither RSA nor ECDSA P-256, P-384 or P-521";

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

std::optional<KeyAlgorithm> AlgorithmOf(EVP_PKEY* key) {
    if (EVP_PKEY_base_id(key) == EVP_PKEY_RSA) return KeyAlgorithm::Rsa;
    if (EVP_PKEY_base_id(key) != EVP_PKEY_EC) return std::nullopt;
    switch (EVP_PKEY_get_bits(key)) {
        case 256:
            return KeyAlgorithm::EcdsaP256;
        case 384:
            return KeyAlgorithm::EcdsaP384;
        case 521:
            return KeyAlgorithm::EcdsaP521;
        default:
            return std::nullopt;
    }
}

bool VerifiesWith(EVP_PKEY* key, HashAlgorithm hash, std::string_view data,
                  std::string_view signature) {
    const Owned<EVP_MD_CTX> context(EVP_MD_CTX_new());
    if (!context || EVP_DigestVerifyInit(context.get(), nullptr, MdOf(hash), nullptr, key) != 1) {
        ERR_clear_error();
        return false;
    }
    const int verified = EVP_DigestVerify(context.get(), Bytes(signature), signature.size(),
                                          Bytes(data), data.size());
    ERR_clear_error();
    return verified == 1;
}

class OpenSslKey final : public SigningKey {
  public:
    OpenSslKey(Owned<EVP_PKEY> key, KeyAlgorithm algorithm)
        : key_(std::move(key)), algorithm_(algorithm) {}

    KeyAlgorithm Algorithm() const override { return algorithm_; }
    std::string PublicKeyInfo() const override { return Der(key_.get(), i2d_PUBKEY); }
    std::string Sign(HashAlgorithm hash, std::string_view data) const override {
        const Owned<EVP_MD_CTX> context(EVP_MD_CTX_new());
        std::size_t size = 0;
        if (!context ||
            EVP_DigestSignInit(context.get(), nullptr, MdOf(hash), nullptr, key_.get()) != 1 ||
            EVP_DigestSign(context.get(), nullptr, &size, Bytes(data), data.size()) != 1)
            throw std::runtime_error("libcrypto: cannot sign");
        std::string signature(size, '\0');
        if (EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &size,
                           Bytes(data), data.size()) != 1)
            throw std::runtime_error("libcrypto: cannot sign");
        signature.resize(size);
        return signature;
    }
    bool Verifies(HashAlgorithm hash, std::string_view data,
                  std::string_view signature) const override {
        return VerifiesWith(key_.get(), hash, data, signature);
    }

  private:
    Owned<EVP_PKEY> key_;
    KeyAlgorithm algorithm_;
};

ImportedKey Imported(Owned<EVP_PKEY> key) {
    const std::optional<KeyAlgorithm> algorithm = AlgorithmOf(key.get());
    if (!algorithm) return {nullptr, std::string(kUnsupportedKey)};
    return {std::make_unique<OpenSslKey>(std::move(key), *algorithm), {}};
}

Owned<BIGNUM> Number(std::string_view magnitude) {
    return Owned<BIGNUM>(BN_bin2bn(Bytes(magnitude), static_cast<int>(magnitude.size()), nullptr));
}

// A key from the parameters the builder holds, as the library's own key decoders make one.
ImportedKey FromParameters(const char* type, OSSL_PARAM_BLD* builder) {
    const Owned<OSSL_PARAM> parameters(OSSL_PARAM_BLD_to_param(builder));
    const Owned<EVP_PKEY_CTX> context(EVP_PKEY_CTX_new_from_name(nullptr, type, nullptr));
    EVP_PKEY* key = nullptr;
    if (!parameters || !context || EVP_PKEY_fromdata_init(context.get()) != 1 ||
        EVP_PKEY_fromdata(context.get(), &key, EVP_PKEY_KEYPAIR, parameters.get()) != 1) {
        ERR_clear_error();
        return {nullptr, "libcrypto does not take the key's numbers"};
    }
    return Imported(Owned<EVP_PKEY>(key));
}

const char* CurveName(KeyAlgorithm curve) {
    return curve == KeyAlgorithm::EcdsaP384   ? "P-384"
           : curve == KeyAlgorithm::EcdsaP521 ? "P-521"
                                              : "P-256";
}

// The public point of a private scalar, for key files that leave it out.
std::string PublicPointOf(KeyAlgorithm curve, const BIGNUM* scalar) {
    const Owned<EC_GROUP> group(
        EC_GROUP_new_by_curve_name(curve == KeyAlgorithm::EcdsaP384   ? NID_secp384r1
                                   : curve == KeyAlgorithm::EcdsaP521 ? NID_secp521r1
                                                                      : NID_X9_62_prime256v1));
    const Owned<EC_POINT> point(group ? EC_POINT_new(group.get()) : nullptr);
    unsigned char* bytes = nullptr;
    std::size_t size = 0;
    if (!point || EC_POINT_mul(group.get(), point.get(), scalar, nullptr, nullptr, nullptr) != 1 ||
        (size = EC_POINT_point2buf(group.get(), point.get(), POINT_CONVERSION_UNCOMPRESSED, &bytes,
                                   nullptr)) == 0) {
        ERR_clear_error();
        return {};
    }
    std::string encoded(reinterpret_cast<const char*>(bytes), size);
    OPENSSL_free(bytes);
    return encoded;
}

// The key and certificates of a PKCS #12 file's bags, decrypted with `pass` (PKCS12_parse
// would insist on a MAC, which files written with -nomac lack). `verified`: the MAC showed
// the password right, so a bag that does not open is a fault of the file, not of the password.
Pkcs12Contents Pkcs12Bags(PKCS12* pkcs12, const char* pass, int length, bool verified) {
    const auto failed = [&](std::string_view why) {
        const unsigned long reason = ERR_peek_last_error();
        ERR_clear_error();
        if (!verified)
            return Pkcs12Contents{nullptr, {}, "wrong password (the file has no MAC)", true};
        const char* text = reason != 0 ? ERR_reason_error_string(reason) : nullptr;
        return Pkcs12Contents{
            nullptr,
            {},
            std::string(why) + (text != nullptr ? ": " : "") + (text != nullptr ? text : "")};
    };
    const Owned<STACK_OF(PKCS7)> safes(PKCS12_unpack_authsafes(pkcs12));
    if (!safes) return failed("cannot read the PKCS #12 file");
    Owned<EVP_PKEY> key;
    Pkcs12Contents contents;
    for (int i = 0; i < sk_PKCS7_num(safes.get()); ++i) {
        PKCS7* safe = sk_PKCS7_value(safes.get(), i);
        const Owned<STACK_OF(PKCS12_SAFEBAG)> bags(
            PKCS7_type_is_data(safe)        ? PKCS12_unpack_p7data(safe)
            : PKCS7_type_is_encrypted(safe) ? PKCS12_unpack_p7encdata(safe, pass, length)
                                            : nullptr);
        if (!bags) return failed("cannot decrypt the PKCS #12 file");
        for (int j = 0; j < sk_PKCS12_SAFEBAG_num(bags.get()); ++j) {
            const PKCS12_SAFEBAG* bag = sk_PKCS12_SAFEBAG_value(bags.get(), j);
            switch (PKCS12_SAFEBAG_get_nid(bag)) {
                case NID_keyBag:
                    if (!key) key.reset(EVP_PKCS82PKEY(PKCS12_SAFEBAG_get0_p8inf(bag)));
                    break;
                case NID_pkcs8ShroudedKeyBag:
                    if (!key) {
                        const Owned<PKCS8_PRIV_KEY_INFO> info(
                            PKCS12_decrypt_skey(bag, pass, length));
                        if (!info) return failed("cannot decrypt the key of the PKCS #12 file");
                        key.reset(EVP_PKCS82PKEY(info.get()));
                    }
                    break;
                case NID_certBag:
                    if (PKCS12_SAFEBAG_get_bag_nid(bag) == NID_x509Certificate)
                        if (const Owned<X509> certificate{PKCS12_SAFEBAG_get1_cert(bag)})
                            contents.certificates.push_back(Der(certificate.get(), i2d_X509));
                    break;
                default:
                    break;
            }
        }
    }
    ERR_clear_error();
    if (!key) return {nullptr, {}, "the file holds no private key"};
    ImportedKey imported = Imported(std::move(key));
    if (!imported.key) return {nullptr, {}, imported.error};
    contents.key = std::move(imported.key);
    return contents;
}

}  // namespace

bool VerifySignature(std::string_view publicKeyInfo, HashAlgorithm hash, std::string_view data,
                     std::string_view signature) {
    const unsigned char* bytes = Bytes(publicKeyInfo);
    const Owned<EVP_PKEY> key(d2i_PUBKEY(nullptr, &bytes, static_cast<long>(publicKeyInfo.size())));
    return key && VerifiesWith(key.get(), hash, data, signature);
}

ImportedKey ImportRsaPrivateKey(const RsaPrivateNumbers& numbers) {
    const Owned<OSSL_PARAM_BLD> builder(OSSL_PARAM_BLD_new());
    const std::pair<const char*, const std::string*> fields[] = {
        {OSSL_PKEY_PARAM_RSA_N, &numbers.modulus},
        {OSSL_PKEY_PARAM_RSA_E, &numbers.publicExponent},
        {OSSL_PKEY_PARAM_RSA_D, &numbers.privateExponent},
        {OSSL_PKEY_PARAM_RSA_FACTOR1, &numbers.prime1},
        {OSSL_PKEY_PARAM_RSA_FACTOR2, &numbers.prime2},
        {OSSL_PKEY_PARAM_RSA_EXPONENT1, &numbers.exponent1},
        {OSSL_PKEY_PARAM_RSA_EXPONENT2, &numbers.exponent2},
        {OSSL_PKEY_PARAM_RSA_COEFFICIENT1, &numbers.coefficient},
    };
    // The builder refers to the numbers until it makes the parameters.
    std::vector<Owned<BIGNUM>> held;
    for (const auto& [name, value] : fields) {
        held.push_back(Number(*value));
        if (!builder || !held.back() ||
            OSSL_PARAM_BLD_push_BN(builder.get(), name, held.back().get()) != 1)
            return {nullptr, "libcrypto does not take the key's numbers"};
    }
    return FromParameters("RSA", builder.get());
}

ImportedKey ImportEcPrivateKey(const EcPrivateNumbers& numbers) {
    const Owned<OSSL_PARAM_BLD> builder(OSSL_PARAM_BLD_new());
    const Owned<BIGNUM> scalar = Number(numbers.privateScalar);
    const std::string point = numbers.publicPoint.empty()
                                  ? PublicPointOf(numbers.curve, scalar.get())
                                  : numbers.publicPoint;
    if (!builder || !scalar || point.empty() ||
        OSSL_PARAM_BLD_push_utf8_string(builder.get(), OSSL_PKEY_PARAM_GROUP_NAME,
                                        CurveName(numbers.curve), 0) != 1 ||
        OSSL_PARAM_BLD_push_BN(builder.get(), OSSL_PKEY_PARAM_PRIV_KEY, scalar.get()) != 1 ||
        OSSL_PARAM_BLD_push_octet_string(builder.get(), OSSL_PKEY_PARAM_PUB_KEY, point.data(),
                                         point.size()) != 1)
        return {nullptr, "libcrypto does not take the key's numbers"};
    return FromParameters("EC", builder.get());
}

Pkcs12Contents ImportPkcs12(std::string_view bytes, std::string_view password) {
    LoadLegacyCiphers();
    const unsigned char* in = Bytes(bytes);
    const Owned<PKCS12> pkcs12(d2i_PKCS12(nullptr, &in, static_cast<long>(bytes.size())));
    if (!pkcs12) {
        ERR_clear_error();
        return {nullptr, {}, "not a PKCS #12 file"};
    }
    // An empty password is the empty text or none at all, as the tool that wrote the file chose;
    // the MAC tells which, and without one the first that decrypts is taken.
    const std::string pass(password);
    const bool mac = PKCS12_mac_present(pkcs12.get()) == 1;
    if (mac && PKCS12_verify_mac(pkcs12.get(), pass.c_str(), static_cast<int>(pass.size())) == 1)
        return Pkcs12Bags(pkcs12.get(), pass.c_str(), static_cast<int>(pass.size()), true);
    if (mac && (!pass.empty() || PKCS12_verify_mac(pkcs12.get(), nullptr, 0) != 1)) {
        ERR_clear_error();
        return {nullptr, {}, "wrong password", true};
    }
    if (mac) return Pkcs12Bags(pkcs12.get(), nullptr, 0, true);
    Pkcs12Contents contents =
        Pkcs12Bags(pkcs12.get(), pass.c_str(), static_cast<int>(pass.size()), false);
    if (contents.error.empty() || !pass.empty()) return contents;
    return Pkcs12Bags(pkcs12.get(), nullptr, 0, false);
}

std::unique_ptr<SigningKey> GenerateSigningKey(KeyAlgorithm algorithm) {
    EVP_PKEY* key = algorithm == KeyAlgorithm::Rsa
                        ? EVP_PKEY_Q_keygen(nullptr, nullptr, "RSA", std::size_t{3072})
                        : EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", CurveName(algorithm));
    if (key == nullptr) throw std::runtime_error("libcrypto: cannot make a key");
    return std::make_unique<OpenSslKey>(Owned<EVP_PKEY>(key), algorithm);
}

std::string RandomBytes(std::size_t count) {
    std::string bytes(count, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int>(count)) != 1)
        throw std::runtime_error("libcrypto: no random bytes");
    return bytes;
}

}  // namespace usbwiz
