// Catalog signing keys: CNG holds the private keys and signs, CryptoAPI reads PKCS #12 files and
// verifies. RSA only: Wine's CryptoAPI holds nothing else, and every Windows version the
// packages are for verifies RSA.
#include <windows.h>
// windows.h first: the crypto header builds on it.
#include <wincrypt.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "platform/Signing.h"
#include "platform/Win32BcryptStatus.h"
#include "platform/Win32Owned.h"

namespace usbwiz {

namespace {

constexpr std::string_view kNotRsa =
    "this build signs with RSA keys only (ECDSA keys are signed with on Linux)";

[[noreturn]] void Fail(const char* step) {
    throw std::runtime_error(std::string("CryptoAPI: ") + step + " failed");
}

const BYTE* Bytes(std::string_view text) {
    return reinterpret_cast<const BYTE*>(text.data());
}

std::string Reversed(const BYTE* bytes, DWORD size) {
    std::string reversed(reinterpret_cast<const char*>(bytes), size);
    std::reverse(reversed.begin(), reversed.end());
    return reversed;
}

// One encoding of a structure CryptoAPI knows (lpszStructType), as DER.
std::string Encoded(LPCSTR type, const void* structure) {
    BYTE* bytes = nullptr;
    DWORD size = 0;
    if (!CryptEncodeObjectEx(X509_ASN_ENCODING, type, structure, CRYPT_ENCODE_ALLOC_FLAG, nullptr,
                             &bytes, &size))
        Fail("CryptEncodeObjectEx");
    const Owned<void*, release::Local> held(bytes);
    return std::string(reinterpret_cast<const char*>(bytes), size);
}

// A structure CryptoAPI decodes into memory of its own.
template <typename T>
class Decoded {
  public:
    bool From(LPCSTR type, std::string_view der) {
        T* value = nullptr;
        if (!CryptDecodeObjectEx(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, type, Bytes(der),
                                 static_cast<DWORD>(der.size()), CRYPT_DECODE_ALLOC_FLAG, nullptr,
                                 &value, &size_))
            return false;
        *memory_.Out() = value;
        return true;
    }
    const T* Value() const { return static_cast<const T*>(memory_.Get()); }
    DWORD Size() const { return size_; }

  private:
    Owned<void*, release::Local> memory_;
    DWORD size_ = 0;
};

// An RSA key's public half and primes, big-endian: all CNG needs to make the private key.
struct RsaParts {
    std::string exponent, modulus, prime1, prime2;
};

constexpr DWORD kRsaBlobHeader = sizeof(BLOBHEADER) + sizeof(RSAPUBKEY);

RSAPUBKEY RsaHeaderOf(const BYTE* blob) {
    RSAPUBKEY key;
    std::memcpy(&key, blob + sizeof(BLOBHEADER), sizeof key);
    return key;
}

// The public exponent and modulus of a CryptoAPI RSA key blob (little-endian, after the headers).
RsaParts PublicPartsOfBlob(const BYTE* blob) {
    const RSAPUBKEY key = RsaHeaderOf(blob);
    RsaParts parts;
    parts.exponent = Reversed(reinterpret_cast<const BYTE*>(&key.pubexp), sizeof key.pubexp);
    parts.exponent.erase(0, parts.exponent.find_first_not_of('\0'));
    parts.modulus = Reversed(blob + kRsaBlobHeader, key.bitlen / 8);
    return parts;
}

// The parts of a CryptoAPI PRIVATEKEYBLOB, whose primes follow the modulus; the CRT values
// and private exponent after them are left to CNG. Wine's PKCS #12 import sets a CRT value a
// byte shorter than half the modulus in the wrong place, so trusting them would sign wrongly
// with one key in a hundred or so.
std::optional<RsaParts> PartsOfPrivateKeyBlob(std::string_view blob) {
    if (blob.size() < kRsaBlobHeader) return std::nullopt;
    const RSAPUBKEY key = RsaHeaderOf(Bytes(blob));
    const DWORD modulus = key.bitlen / 8, prime = key.bitlen / 16;
    if (key.magic != 0x32415352 /* RSA2 */ || key.bitlen % 16 != 0 ||
        blob.size() < kRsaBlobHeader + modulus + 2 * prime)
        return std::nullopt;
    RsaParts parts = PublicPartsOfBlob(Bytes(blob));
    const BYTE* primes = Bytes(blob) + kRsaBlobHeader + modulus;
    parts.prime1 = Reversed(primes, prime);
    parts.prime2 = Reversed(primes + prime, prime);
    return parts;
}

// The modulus and public exponent of an RSA SubjectPublicKeyInfo.
std::optional<RsaParts> PublicPartsOf(const CERT_PUBLIC_KEY_INFO& info) {
    Decoded<BYTE> blob;
    if (std::string_view(info.Algorithm.pszObjId) != szOID_RSA_RSA ||
        !blob.From(RSA_CSP_PUBLICKEYBLOB,
                   std::string_view(reinterpret_cast<const char*>(info.PublicKey.pbData),
                                    info.PublicKey.cbData)))
        return std::nullopt;
    return PublicPartsOfBlob(blob.Value());
}

// An RSA private key held by CNG.
class CngRsaKey final : public SigningKey {
  public:
    CngRsaKey(OwnedAlgorithm algorithm, OwnedKey key)
        : algorithm_(std::move(algorithm)), key_(std::move(key)) {}

    KeyAlgorithm Algorithm() const override { return KeyAlgorithm::Rsa; }

    // BCRYPT_RSAKEY_BLOB, then exponent and modulus (big-endian), re-encoded as X.509 does.
    std::string PublicKeyInfo() const override {
        const std::string blob = Exported(BCRYPT_RSAPUBLIC_BLOB);
        BCRYPT_RSAKEY_BLOB header;
        std::memcpy(&header, blob.data(), sizeof header);
        const std::size_t exponentAt = sizeof header, modulusAt = exponentAt + header.cbPublicExp;
        // CryptoAPI's form of the same key: little-endian, behind the CryptoAPI headers.
        std::string capi(kRsaBlobHeader, '\0');
        BLOBHEADER blobHeader{PUBLICKEYBLOB, CUR_BLOB_VERSION, 0, CALG_RSA_KEYX};
        RSAPUBKEY key{0x31415352 /* RSA1 */, header.BitLength, 0};
        for (ULONG i = 0; i < header.cbPublicExp; ++i)
            key.pubexp = (key.pubexp << 8) | static_cast<BYTE>(blob[exponentAt + i]);
        std::memcpy(capi.data(), &blobHeader, sizeof blobHeader);
        std::memcpy(capi.data() + sizeof blobHeader, &key, sizeof key);
        capi += Reversed(Bytes(blob) + modulusAt, header.cbModulus);
        std::string rsaPublicKey = Encoded(RSA_CSP_PUBLICKEYBLOB, capi.data());
        CERT_PUBLIC_KEY_INFO info{};
        info.Algorithm.pszObjId = const_cast<LPSTR>(szOID_RSA_RSA);
        static BYTE null[] = {0x05, 0x00};
        info.Algorithm.Parameters = {sizeof null, null};
        info.PublicKey = {static_cast<DWORD>(rsaPublicKey.size()),
                          reinterpret_cast<BYTE*>(rsaPublicKey.data()), 0};
        return Encoded(X509_PUBLIC_KEY_INFO, &info);
    }

    std::string Sign(HashAlgorithm hash, std::string_view data) const override {
        std::string digest = Digest(hash, data);
        BCRYPT_PKCS1_PADDING_INFO padding{hash == HashAlgorithm::Sha1 ? BCRYPT_SHA1_ALGORITHM
                                                                      : BCRYPT_SHA256_ALGORITHM};
        auto* input = reinterpret_cast<PUCHAR>(digest.data());
        const auto inputSize = static_cast<ULONG>(digest.size());
        ULONG size = 0;
        CheckBcrypt(BCryptSignHash(key_.Get(), &padding, input, inputSize, nullptr, 0, &size,
                                   BCRYPT_PAD_PKCS1),
                    "BCryptSignHash");
        std::string signature(size, '\0');
        CheckBcrypt(BCryptSignHash(key_.Get(), &padding, input, inputSize,
                                   reinterpret_cast<PUCHAR>(signature.data()), size, &size,
                                   BCRYPT_PAD_PKCS1),
                    "BCryptSignHash");
        signature.resize(size);
        return signature;
    }

  private:
    std::string Exported(LPCWSTR type) const {
        ULONG size = 0;
        CheckBcrypt(BCryptExportKey(key_.Get(), nullptr, type, nullptr, 0, &size, 0),
                    "BCryptExportKey");
        std::string blob(size, '\0');
        CheckBcrypt(BCryptExportKey(key_.Get(), nullptr, type,
                                    reinterpret_cast<PUCHAR>(blob.data()), size, &size, 0),
                    "BCryptExportKey");
        return blob;
    }

    OwnedAlgorithm algorithm_;
    OwnedKey key_;
};

OwnedAlgorithm RsaAlgorithm() {
    OwnedAlgorithm algorithm;
    CheckBcrypt(BCryptOpenAlgorithmProvider(algorithm.Out(), BCRYPT_RSA_ALGORITHM, nullptr, 0),
                "BCryptOpenAlgorithmProvider");
    return algorithm;
}

// A private key from a BCRYPT_RSAKEY_BLOB of `magic` and its numbers; nullptr when CNG refuses
// them (they are not an RSA key).
std::unique_ptr<SigningKey> ImportRsaBlob(ULONG magic, const std::string& modulus,
                                          const std::string& exponent, const std::string& prime1,
                                          const std::string& prime2, const std::string& rest) {
    BCRYPT_RSAKEY_BLOB header{};
    header.Magic = magic;
    header.BitLength = static_cast<ULONG>(modulus.size() * 8);
    header.cbPublicExp = static_cast<ULONG>(exponent.size());
    header.cbModulus = static_cast<ULONG>(modulus.size());
    header.cbPrime1 = static_cast<ULONG>(prime1.size());
    header.cbPrime2 = static_cast<ULONG>(prime2.size());
    std::string blob(reinterpret_cast<const char*>(&header), sizeof header);
    blob += exponent + modulus + prime1 + prime2 + rest;
    OwnedAlgorithm algorithm = RsaAlgorithm();
    OwnedKey key;
    if (!BCRYPT_SUCCESS(BCryptImportKeyPair(
            algorithm.Get(), nullptr,
            magic == BCRYPT_RSAFULLPRIVATE_MAGIC ? BCRYPT_RSAFULLPRIVATE_BLOB
                                                 : BCRYPT_RSAPRIVATE_BLOB,
            key.Out(), reinterpret_cast<PUCHAR>(blob.data()), static_cast<ULONG>(blob.size()), 0)))
        return nullptr;
    return std::make_unique<CngRsaKey>(std::move(algorithm), std::move(key));
}

std::string Stripped(std::string_view magnitude) {
    const std::size_t first = magnitude.find_first_not_of('\0');
    return first == std::string_view::npos ? std::string() : std::string(magnitude.substr(first));
}

// `magnitude` in exactly `size` bytes; nullopt when it does not fit.
std::optional<std::string> Padded(std::string_view magnitude, std::size_t size) {
    std::string value = Stripped(magnitude);
    if (value.size() > size) return std::nullopt;
    return std::string(size - value.size(), '\0') + value;
}

// One text of a provider (PP_CONTAINER, PP_NAME); empty when it has none.
std::string ProviderText(HCRYPTPROV provider, DWORD parameter) {
    DWORD size = 0;
    if (!CryptGetProvParam(provider, parameter, nullptr, &size, 0)) return {};
    std::string text(size, '\0');
    if (!CryptGetProvParam(provider, parameter, reinterpret_cast<BYTE*>(text.data()), &size, 0))
        return {};
    return text.c_str();
}

// Asked to hold an imported key in memory only, Windows does; Wine keeps it in its default key
// container all the same, written when the import's store closes.
bool KeepsImportedKeys() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// The key container a PKCS #12 import left behind, deleted when this ends (after the import's
// store has closed, which is when Wine writes it).
class LeftContainer {
  public:
    LeftContainer() = default;
    LeftContainer(const LeftContainer&) = delete;
    LeftContainer& operator=(const LeftContainer&) = delete;
    ~LeftContainer() {
        if (name_.empty()) return;
        HCRYPTPROV deleted = 0;
        CryptAcquireContextA(&deleted, name_.c_str(), provider_.c_str(), type_,
                             CRYPT_DELETEKEYSET | flags_);
    }

    void Remember(HCRYPTPROV handle) {
        std::string name = ProviderText(handle, PP_CONTAINER);
        DWORD size = sizeof type_;
        if (name.empty() ||
            !CryptGetProvParam(handle, PP_PROVTYPE, reinterpret_cast<BYTE*>(&type_), &size, 0))
            return;
        size = sizeof flags_;
        if (!CryptGetProvParam(handle, PP_KEYSET_TYPE, reinterpret_cast<BYTE*>(&flags_), &size, 0))
            flags_ = 0;
        flags_ &= CRYPT_MACHINE_KEYSET;
        provider_ = ProviderText(handle, PP_NAME);
        name_ = std::move(name);
    }

  private:
    std::string name_, provider_;
    DWORD type_ = 0, flags_ = 0;
};

// Whether an import gave the certificate a private key: in memory, or in a key container.
bool HasPrivateKey(PCCERT_CONTEXT certificate) {
    DWORD size = 0;
    return CertGetCertificateContextProperty(certificate, CERT_KEY_CONTEXT_PROP_ID, nullptr,
                                             &size) ||
           CertGetCertificateContextProperty(certificate, CERT_KEY_PROV_INFO_PROP_ID, nullptr,
                                             &size);
}

// The PRIVATEKEYBLOB of the key a PKCS #12 import gave the certificate; empty when it cannot be
// read. A key held in memory is the certificate's key context (Wine's acquiring does not look
// there); a key in a container is acquired from it. A CNG key is not read (Windows puts one
// there only for a file that names a CNG provider).
std::string PrivateKeyBlobOf(PCCERT_CONTEXT certificate, LeftContainer& container) {
    CERT_KEY_CONTEXT context{};
    DWORD contextSize = sizeof context;
    HCRYPTPROV provider = 0;
    OwnedProvider acquired;
    DWORD keySpec = 0;
    if (CertGetCertificateContextProperty(certificate, CERT_KEY_CONTEXT_PROP_ID, &context,
                                          &contextSize)) {
        if (context.dwKeySpec == CERT_NCRYPT_KEY_SPEC) return {};
        provider = context.hCryptProv;
        keySpec = context.dwKeySpec;
    } else {
        BOOL release = FALSE;
        if (!CryptAcquireCertificatePrivateKey(certificate, CRYPT_ACQUIRE_SILENT_FLAG, nullptr,
                                               &provider, &keySpec, &release))
            return {};
        if (release) *acquired.Out() = provider;
    }
    if (KeepsImportedKeys()) container.Remember(provider);
    OwnedCapiKey key;
    DWORD size = 0;
    std::string blob;
    if (CryptGetUserKey(provider, keySpec, key.Out()) &&
        CryptExportKey(key.Get(), 0, PRIVATEKEYBLOB, 0, nullptr, &size)) {
        blob.resize(size);
        if (!CryptExportKey(key.Get(), 0, PRIVATEKEYBLOB, 0, reinterpret_cast<BYTE*>(blob.data()),
                            &size))
            blob.clear();
    }
    return blob;
}

}  // namespace

bool VerifySignature(std::string_view publicKeyInfo, HashAlgorithm hash, std::string_view data,
                     std::string_view signature) {
    Decoded<CERT_PUBLIC_KEY_INFO> info;
    if (!info.From(X509_PUBLIC_KEY_INFO, publicKeyInfo)) return false;
    if (std::string_view(info.Value()->Algorithm.pszObjId) != szOID_RSA_RSA) return false;
    OwnedProvider provider;
    if (!CryptAcquireContextW(provider.Out(), nullptr, MS_ENH_RSA_AES_PROV_W, PROV_RSA_AES,
                              CRYPT_VERIFYCONTEXT))
        Fail("CryptAcquireContext");
    OwnedCapiKey key;
    OwnedCapiHash hasher;
    const std::string littleEndian =
        Reversed(Bytes(signature), static_cast<DWORD>(signature.size()));
    return CryptImportPublicKeyInfo(provider.Get(), X509_ASN_ENCODING,
                                    const_cast<CERT_PUBLIC_KEY_INFO*>(info.Value()), key.Out()) &&
           CryptCreateHash(provider.Get(), hash == HashAlgorithm::Sha1 ? CALG_SHA1 : CALG_SHA_256,
                           0, 0, hasher.Out()) &&
           CryptHashData(hasher.Get(), Bytes(data), static_cast<DWORD>(data.size()), 0) &&
           CryptVerifySignatureA(hasher.Get(), Bytes(littleEndian),
                                 static_cast<DWORD>(littleEndian.size()), key.Get(), nullptr, 0);
}

ImportedKey ImportRsaPrivateKey(const RsaPrivateNumbers& numbers) {
    // The whole key as the file gives it, so that a damaged one signs as it would on Linux.
    const std::string modulus = Stripped(numbers.modulus), prime1 = Stripped(numbers.prime1),
                      prime2 = Stripped(numbers.prime2);
    const std::optional<std::string> exponent1 = Padded(numbers.exponent1, prime1.size()),
                                     exponent2 = Padded(numbers.exponent2, prime2.size()),
                                     coefficient = Padded(numbers.coefficient, prime1.size()),
                                     privateExponent =
                                         Padded(numbers.privateExponent, modulus.size());
    std::unique_ptr<SigningKey> key;
    if (!modulus.empty() && exponent1 && exponent2 && coefficient && privateExponent)
        key = ImportRsaBlob(BCRYPT_RSAFULLPRIVATE_MAGIC, modulus, Stripped(numbers.publicExponent),
                            prime1, prime2,
                            *exponent1 + *exponent2 + *coefficient + *privateExponent);
    if (!key) return {nullptr, "CNG does not take the key's numbers"};
    return {std::move(key), {}};
}

ImportedKey ImportEcPrivateKey(const EcPrivateNumbers&) {
    return {nullptr, std::string(kNotRsa)};
}

Pkcs12Contents ImportPkcs12(std::string_view bytes, std::string_view password) {
    CRYPT_DATA_BLOB blob{static_cast<DWORD>(bytes.size()), const_cast<BYTE*>(Bytes(bytes))};
    if (!PFXIsPFXBlob(&blob)) return {nullptr, {}, "not a PKCS #12 file"};
    const int wideSize = MultiByteToWideChar(CP_UTF8, 0, password.data(),
                                             static_cast<int>(password.size()), nullptr, 0);
    std::wstring widePassword(static_cast<std::size_t>(wideSize), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, password.data(), static_cast<int>(password.size()),
                        widePassword.data(), wideSize);
    LeftContainer container;  // ends after the store
    const OwnedStore store(
        PFXImportCertStore(&blob, widePassword.c_str(), CRYPT_EXPORTABLE | PKCS12_NO_PERSIST_KEY));
    // Windows says ERROR_INVALID_PASSWORD; Wine says nothing, for a wrong password and for a
    // key it does not import (ECDSA) alike.
    if (!store) {
        if (GetLastError() == ERROR_INVALID_PASSWORD) return {nullptr, {}, "wrong password", true};
        return {nullptr, {}, "wrong password, or a key that is not RSA: " + std::string(kNotRsa)};
    }

    // Wine marks every certificate of the file as holding the key, the issuers too: the key is
    // read once, and its public half is taken from the certificate whose modulus is the key's.
    Pkcs12Contents contents;
    std::vector<RsaParts> certified;
    std::string keyBlob;
    bool keyFound = false, rsa = true;
    for (PCCERT_CONTEXT c = CertEnumCertificatesInStore(store.Get(), nullptr); c != nullptr;
         c = CertEnumCertificatesInStore(store.Get(), c)) {
        contents.certificates.emplace_back(reinterpret_cast<const char*>(c->pbCertEncoded),
                                           c->cbCertEncoded);
        if (const std::optional<RsaParts> parts = PublicPartsOf(c->pCertInfo->SubjectPublicKeyInfo))
            certified.push_back(*parts);
        if (keyFound || !HasPrivateKey(c)) continue;
        keyFound = true;
        rsa = std::string_view(c->pCertInfo->SubjectPublicKeyInfo.Algorithm.pszObjId) ==
              szOID_RSA_RSA;
        if (rsa) keyBlob = PrivateKeyBlobOf(c, container);
    }
    if (!keyFound) return {nullptr, {}, "the file holds no private key"};
    if (!rsa) return {nullptr, {}, std::string(kNotRsa)};
    std::optional<RsaParts> parts = PartsOfPrivateKeyBlob(keyBlob);
    if (parts) {
        // Wine's import also says 65537 for every public exponent.
        const auto own = std::find_if(certified.begin(), certified.end(), [&](const RsaParts& c) {
            return c.modulus == parts->modulus;
        });
        if (own != certified.end()) parts->exponent = own->exponent;
        contents.key = ImportRsaBlob(BCRYPT_RSAPRIVATE_MAGIC, parts->modulus, parts->exponent,
                                     parts->prime1, parts->prime2, {});
    }
    if (!contents.key) return {nullptr, {}, "the file's private key cannot be read"};
    return contents;
}

std::unique_ptr<SigningKey> GenerateSigningKey(KeyAlgorithm algorithm) {
    if (algorithm != KeyAlgorithm::Rsa) throw std::runtime_error(std::string(kNotRsa));
    OwnedAlgorithm rsa = RsaAlgorithm();
    OwnedKey key;
    NTSTATUS status = BCryptGenerateKeyPair(rsa.Get(), key.Out(), 3072, 0);
    if (BCRYPT_SUCCESS(status)) status = BCryptFinalizeKeyPair(key.Get(), 0);
    CheckBcrypt(status, "BCryptGenerateKeyPair");
    return std::make_unique<CngRsaKey>(std::move(rsa), std::move(key));
}

std::string RandomBytes(std::size_t count) {
    std::string bytes(count, '\0');
    CheckBcrypt(BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(bytes.data()),
                                static_cast<ULONG>(count), BCRYPT_USE_SYSTEM_PREFERRED_RNG),
                "BCryptGenRandom");
    return bytes;
}

}  // namespace usbwiz
