#include "signing/PrivateKeyFile.h"

#include "catalog/AlgorithmOids.h"
#include "catalog/DerReader.h"
#include "platform/KeyDecryption.h"
#include "signing/Pem.h"

namespace usbwiz {

namespace {

constexpr std::string_view kPbes2 = "1.2.840.113549.1.5.13";
constexpr std::string_view kPbkdf2 = "1.2.840.113549.1.5.12";
constexpr std::string_view kHmacWithSha1 = "1.2.840.113549.2.7";
constexpr std::string_view kHmacWithSha256 = "1.2.840.113549.2.9";
// Far beyond what any tool writes (OpenSSL: 2048), short of a file that would stall the run.
constexpr std::int64_t kMostIterations = 10'000'000;

constexpr std::string_view kUnsupportedKey =
    "the key is neither RSA nor ECDSA P-256, P-384 or P-521";
constexpr std::string_view kDamaged = "the key cannot be read (a damaged file?)";
constexpr std::string_view kWrongPassword = "wrong password";
constexpr std::string_view kNoPassword = "the key is encrypted and no password was given";

struct CipherName {
    std::string_view oid, dekInfo;
    CbcCipher cipher;
};
constexpr CipherName kCiphers[] = {
    {"2.16.840.1.101.3.4.1.2", "AES-128-CBC", CbcCipher::Aes128},
    {"2.16.840.1.101.3.4.1.22", "AES-192-CBC", CbcCipher::Aes192},
    {"2.16.840.1.101.3.4.1.42", "AES-256-CBC", CbcCipher::Aes256},
    {"1.2.840.113549.3.7", "DES-EDE3-CBC", CbcCipher::DesEde3},
};

KeyFileReading Problem(std::string_view why) {
    return {std::nullopt, std::string(why), false};
}

std::optional<std::string> OidOf(const std::optional<der::Element>& element) {
    return element ? der::ObjectIdentifierText(*element) : std::nullopt;
}

std::optional<KeyAlgorithm> CurveOf(const std::optional<std::string>& oid) {
    if (oid == oid::kCurveP256) return KeyAlgorithm::EcdsaP256;
    if (oid == oid::kCurveP384) return KeyAlgorithm::EcdsaP384;
    if (oid == oid::kCurveP521) return KeyAlgorithm::EcdsaP521;
    return std::nullopt;
}

// A non-negative INTEGER's magnitude without leading zeros.
std::optional<std::string> Magnitude(const std::optional<der::Element>& integer) {
    if (!integer || integer->contents.empty() ||
        (static_cast<unsigned char>(integer->contents[0]) & 0x80) != 0)
        return std::nullopt;
    const std::size_t first = integer->contents.find_first_not_of('\0');
    return std::string(first == std::string_view::npos ? std::string_view()
                                                       : integer->contents.substr(first));
}

// RSAPrivateKey { version 0, n, e, d, p, q, d mod (p-1), d mod (q-1), q^-1 mod p }; a key of
// more primes (version 1) is not one we sign with.
KeyFileReading ReadRsaPrivateKey(std::string_view der) {
    const std::optional<der::Element> key = der::ReadWhole(der);
    if (!key || !key->IsUniversal(der::tag::kSequence)) return Problem(kDamaged);
    der::Reader fields(*key);
    const std::optional<std::int64_t> version =
        der::SmallInteger(fields.Expect(der::tag::kInteger).value_or(der::Element{}));
    RsaPrivateNumbers numbers;
    std::string* const parts[] = {
        &numbers.modulus, &numbers.publicExponent, &numbers.privateExponent, &numbers.prime1,
        &numbers.prime2,  &numbers.exponent1,      &numbers.exponent2,       &numbers.coefficient};
    for (std::string* part : parts) {
        const std::optional<std::string> value = Magnitude(fields.Expect(der::tag::kInteger));
        if (!value) return Problem(kDamaged);
        *part = *value;
    }
    if (version != 0 || !fields.AtEnd() || numbers.modulus.empty()) return Problem(kDamaged);
    return {numbers, {}, false};
}

// ECPrivateKey { version 1, privateKey OCTET STRING, [0] parameters, [1] publicKey }; the curve
// comes from the PKCS #8 wrapper when there is one, else from the parameters.
KeyFileReading ReadEcPrivateKey(std::string_view der, std::optional<std::string> curveOid) {
    const std::optional<der::Element> key = der::ReadWhole(der);
    if (!key || !key->IsUniversal(der::tag::kSequence)) return Problem(kDamaged);
    der::Reader fields(*key);
    const std::optional<der::Element> version = fields.Expect(der::tag::kInteger);
    const std::optional<der::Element> scalar = fields.Expect(der::tag::kOctetString);
    const std::optional<der::Element> parameters = fields.Optional(0);
    const std::optional<der::Element> publicKey = fields.Optional(1);
    if (!fields.AtEnd() || !version || der::SmallInteger(*version) != 1) return Problem(kDamaged);
    if (parameters) {
        const std::optional<std::string> named = OidOf(der::ReadWhole(parameters->contents));
        if (curveOid && named != curveOid) return Problem(kDamaged);
        curveOid = named;
    }
    const std::optional<KeyAlgorithm> curve = CurveOf(curveOid);
    if (!curve) return Problem(kUnsupportedKey);
    EcPrivateNumbers numbers{*curve, std::string(scalar->contents), {}};
    if (publicKey) {
        const std::optional<der::Element> bits = der::ReadWhole(publicKey->contents);
        if (!bits || !bits->IsUniversal(der::tag::kBitString) || bits->contents.empty() ||
            bits->contents[0] != 0)
            return Problem(kDamaged);
        numbers.publicPoint = std::string(bits->contents.substr(1));
    }
    return {numbers, {}, false};
}

// PrivateKeyInfo { version, AlgorithmIdentifier, privateKey OCTET STRING, [0] attributes,
// [1] publicKey }.
KeyFileReading ReadPkcs8(std::string_view der) {
    const std::optional<der::Element> info = der::ReadWhole(der);
    if (!info || !info->IsUniversal(der::tag::kSequence)) return Problem(kDamaged);
    der::Reader fields(*info);
    fields.Expect(der::tag::kInteger);
    const std::optional<der::Element> algorithm = fields.Expect(der::tag::kSequence);
    const std::optional<der::Element> key = fields.Expect(der::tag::kOctetString);
    fields.Optional(0);
    fields.Optional(1);
    if (!fields.AtEnd()) return Problem(kDamaged);
    der::Reader identifier(*algorithm);
    const std::optional<std::string> oid = OidOf(identifier.Expect(der::tag::kObjectIdentifier));
    if (oid == oid::kRsaEncryption) return ReadRsaPrivateKey(key->contents);
    if (oid == oid::kEcPublicKey) return ReadEcPrivateKey(key->contents, OidOf(identifier.Next()));
    return Problem(kUnsupportedKey);
}

KeyFileReading Decrypted(const std::optional<std::string>& plain,
                         KeyFileReading (*read)(std::string_view)) {
    const KeyFileReading wrong{std::nullopt, std::string(kWrongPassword), true};
    if (!plain) return wrong;
    KeyFileReading reading = read(*plain);
    // A wrong key decrypts to noise that now and then ends like padding.
    if (!reading.key && reading.problem == kDamaged) return wrong;
    return reading;
}

std::optional<CbcCipher> CipherOf(std::string_view name, bool byOid) {
    for (const CipherName& known : kCiphers)
        if ((byOid ? known.oid : known.dekInfo) == name) return known.cipher;
    return std::nullopt;
}

constexpr std::string_view kUnsupportedEncryption =
    "the key's encryption is not one this program reads (it reads PBES2 with AES or "
    "DES-EDE3, as `openssl pkcs8 -topk8 -v2 aes-256-cbc` writes)";

// EncryptedPrivateKeyInfo { AlgorithmIdentifier { PBES2, { keyDerivationFunc { PBKDF2,
// { salt, iterationCount, keyLength OPTIONAL, prf DEFAULT hmacWithSHA1 } }, encryptionScheme
// { cipher, iv } } }, encryptedData }.
KeyFileReading ReadEncryptedPkcs8(std::string_view der, const std::string& password) {
    const std::optional<der::Element> info = der::ReadWhole(der);
    if (!info || !info->IsUniversal(der::tag::kSequence)) return Problem(kDamaged);
    der::Reader fields(*info);
    const std::optional<der::Element> algorithm = fields.Expect(der::tag::kSequence);
    const std::optional<der::Element> encrypted = fields.Expect(der::tag::kOctetString);
    if (!fields.AtEnd()) return Problem(kDamaged);
    der::Reader scheme(*algorithm);
    if (OidOf(scheme.Expect(der::tag::kObjectIdentifier)) != kPbes2)
        return Problem(kUnsupportedEncryption);
    const std::optional<der::Element> parameters = scheme.Expect(der::tag::kSequence);
    if (!parameters) return Problem(kDamaged);
    der::Reader pbes2(*parameters);
    const std::optional<der::Element> kdf = pbes2.Expect(der::tag::kSequence);
    const std::optional<der::Element> cipherId = pbes2.Expect(der::tag::kSequence);
    if (!pbes2.AtEnd()) return Problem(kDamaged);

    der::Reader derivation(*kdf);
    if (OidOf(derivation.Expect(der::tag::kObjectIdentifier)) != kPbkdf2)
        return Problem(kUnsupportedEncryption);
    const std::optional<der::Element> pbkdf2 = derivation.Expect(der::tag::kSequence);
    if (!pbkdf2) return Problem(kDamaged);
    der::Reader kdfFields(*pbkdf2);
    const std::optional<der::Element> salt = kdfFields.Expect(der::tag::kOctetString);
    const std::optional<std::int64_t> iterations =
        der::SmallInteger(kdfFields.Expect(der::tag::kInteger).value_or(der::Element{}));
    const auto optional = [&] { return kdfFields.AtEnd() ? std::nullopt : kdfFields.Next(); };
    std::optional<der::Element> next = optional();
    std::optional<std::int64_t> keyLength;
    if (next && next->IsUniversal(der::tag::kInteger)) {
        keyLength = der::SmallInteger(*next);
        next = optional();
    }
    HashAlgorithm prf = HashAlgorithm::Sha1;
    if (next) {
        const std::optional<std::string> prfOid =
            OidOf(der::Reader(*next).Expect(der::tag::kObjectIdentifier));
        if (prfOid == kHmacWithSha256)
            prf = HashAlgorithm::Sha256;
        else if (prfOid != kHmacWithSha1)
            return Problem(kUnsupportedEncryption);
    }
    if (!salt || !iterations || *iterations < 1 || *iterations > kMostIterations ||
        !kdfFields.AtEnd())
        return Problem(kDamaged);

    der::Reader cipherFields(*cipherId);
    const std::optional<std::string> cipherOid =
        OidOf(cipherFields.Expect(der::tag::kObjectIdentifier));
    const std::optional<der::Element> iv = cipherFields.Expect(der::tag::kOctetString);
    const std::optional<CbcCipher> cipher = cipherOid ? CipherOf(*cipherOid, true) : std::nullopt;
    if (!cipher) return Problem(kUnsupportedEncryption);
    if (!iv || (keyLength && *keyLength != static_cast<std::int64_t>(CipherKeySize(*cipher))))
        return Problem(kDamaged);
    const std::string key = Pbkdf2(prf, password, salt->contents,
                                   static_cast<std::uint32_t>(*iterations), CipherKeySize(*cipher));
    return Decrypted(DecryptCbc(*cipher, key, iv->contents, encrypted->contents), ReadPkcs8);
}

std::optional<std::string> FromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        int value = 0;
        for (const char c : hex.substr(i, 2)) {
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                     : -1;
            if (digit < 0) return std::nullopt;
            value = value * 16 + digit;
        }
        bytes += static_cast<char>(value);
    }
    return bytes;
}

// A traditional key encrypted as OpenSSL's PEM writer does: "DEK-Info: CIPHER,IV" names the
// cipher; the key is OpenSSL's EVP_BytesToKey with MD5, one round, the IV's first 8 bytes as
// salt: D1 = MD5(password || salt), Di = MD5(Di-1 || password || salt), concatenated.
KeyFileReading ReadTraditional(const PemBlock& block, const std::optional<std::string>& password,
                               KeyFileReading (*read)(std::string_view)) {
    if (block.Header("Proc-Type").empty()) return read(block.bytes);
    if (block.Header("Proc-Type") != "4,ENCRYPTED") return Problem(kDamaged);
    if (!password) return {std::nullopt, std::string(kNoPassword), true};
    const std::string_view info = block.Header("DEK-Info");
    const std::size_t comma = info.find(',');
    const std::optional<CbcCipher> cipher =
        comma == std::string_view::npos ? std::nullopt : CipherOf(info.substr(0, comma), false);
    if (!cipher) return Problem(kUnsupportedEncryption);
    const std::optional<std::string> iv = FromHex(info.substr(comma + 1));
    if (!iv || iv->size() != CipherBlockSize(*cipher)) return Problem(kDamaged);
    const std::string salt = iv->substr(0, 8);
    std::string key, round;
    while (key.size() < CipherKeySize(*cipher)) {
        round = Md5(round + *password + salt);
        key += round;
    }
    key.resize(CipherKeySize(*cipher));
    return Decrypted(DecryptCbc(*cipher, key, *iv, block.bytes), read);
}

KeyFileReading ReadSec1(std::string_view der) {
    return ReadEcPrivateKey(der, std::nullopt);
}

}  // namespace

KeyAlgorithm AlgorithmOf(const PrivateKeyNumbers& key) {
    if (const auto* ec = std::get_if<EcPrivateNumbers>(&key)) return ec->curve;
    return KeyAlgorithm::Rsa;
}

KeyFileReading ReadPrivateKeyFile(std::string_view text,
                                  const std::optional<std::string>& password) {
    const std::optional<std::vector<PemBlock>> blocks = ReadPemBlocks(text);
    if (!blocks) return Problem("a PEM block of the file is damaged");
    for (const PemBlock& block : *blocks) {
        if (block.label == "PRIVATE KEY") return ReadPkcs8(block.bytes);
        if (block.label == "RSA PRIVATE KEY")
            return ReadTraditional(block, password, ReadRsaPrivateKey);
        if (block.label == "EC PRIVATE KEY") return ReadTraditional(block, password, ReadSec1);
        if (block.label == "ENCRYPTED PRIVATE KEY") {
            if (!password) return {std::nullopt, std::string(kNoPassword), true};
            return ReadEncryptedPkcs8(block.bytes, *password);
        }
    }
    return Problem("no PEM private key in the file");
}

}  // namespace usbwiz
