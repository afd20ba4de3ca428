#include <windows.h>
// windows.h first: bcrypt.h builds on its types.
#include <bcrypt.h>

#include "platform/KeyDecryption.h"
#include "platform/Win32BcryptStatus.h"
#include "platform/Win32Owned.h"

namespace usbwiz {

namespace {

OwnedAlgorithm Algorithm(LPCWSTR name, ULONG flags) {
    OwnedAlgorithm algorithm;
    CheckBcrypt(BCryptOpenAlgorithmProvider(algorithm.Out(), name, nullptr, flags),
                "BCryptOpenAlgorithmProvider");
    return algorithm;
}

PUCHAR Writable(std::string& bytes) {
    return reinterpret_cast<PUCHAR>(bytes.data());
}

PUCHAR Readable(std::string_view bytes) {
    return reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data()));
}

}  // namespace

std::optional<std::string> DecryptCbc(CbcCipher cipher, std::string_view key, std::string_view iv,
                                      std::string_view ciphertext) {
    if (key.size() != CipherKeySize(cipher) || iv.size() != CipherBlockSize(cipher))
        return std::nullopt;
    const OwnedAlgorithm algorithm =
        Algorithm(cipher == CbcCipher::DesEde3 ? BCRYPT_3DES_ALGORITHM : BCRYPT_AES_ALGORITHM, 0);
    CheckBcrypt(
        BCryptSetProperty(algorithm.Get(), BCRYPT_CHAINING_MODE,
                          reinterpret_cast<PUCHAR>(const_cast<wchar_t*>(BCRYPT_CHAIN_MODE_CBC)),
                          sizeof BCRYPT_CHAIN_MODE_CBC, 0),
        "BCryptSetProperty");
    OwnedKey handle;
    CheckBcrypt(BCryptGenerateSymmetricKey(algorithm.Get(), handle.Out(), nullptr, 0, Readable(key),
                                           static_cast<ULONG>(key.size()), 0),
                "BCryptGenerateSymmetricKey");
    std::string vector(iv);  // CNG changes the IV it is given
    std::string plain(ciphertext.size(), '\0');
    ULONG size = 0;
    if (!BCRYPT_SUCCESS(BCryptDecrypt(
            handle.Get(), Readable(ciphertext), static_cast<ULONG>(ciphertext.size()), nullptr,
            Writable(vector), static_cast<ULONG>(vector.size()), Writable(plain),
            static_cast<ULONG>(plain.size()), &size, BCRYPT_BLOCK_PADDING)))
        return std::nullopt;
    plain.resize(size);
    return plain;
}

std::string Pbkdf2(HashAlgorithm prf, std::string_view password, std::string_view salt,
                   std::uint32_t iterations, std::size_t length) {
    const OwnedAlgorithm hmac =
        Algorithm(prf == HashAlgorithm::Sha1 ? BCRYPT_SHA1_ALGORITHM : BCRYPT_SHA256_ALGORITHM,
                  BCRYPT_ALG_HANDLE_HMAC_FLAG);
    std::string key(length, '\0');
    CheckBcrypt(
        BCryptDeriveKeyPBKDF2(hmac.Get(), Readable(password), static_cast<ULONG>(password.size()),
                              Readable(salt), static_cast<ULONG>(salt.size()), iterations,
                              Writable(key), static_cast<ULONG>(length), 0),
        "BCryptDeriveKeyPBKDF2");
    return key;
}

std::string Md5(std::string_view bytes) {
    const OwnedAlgorithm md5 = Algorithm(BCRYPT_MD5_ALGORITHM, 0);
    BCRYPT_HASH_HANDLE raw = nullptr;
    CheckBcrypt(BCryptCreateHash(md5.Get(), &raw, nullptr, 0, nullptr, 0, 0), "BCryptCreateHash");
    const Owned<BCRYPT_HASH_HANDLE, release::Hash> hash(raw);
    std::string digest(16, '\0');
    CheckBcrypt(BCryptHashData(hash.Get(), Readable(bytes), static_cast<ULONG>(bytes.size()), 0),
                "BCryptHashData");
    CheckBcrypt(BCryptFinishHash(hash.Get(), Writable(digest), 16, 0), "BCryptFinishHash");
    return digest;
}

}  // namespace usbwiz
