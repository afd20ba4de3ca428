#include <openssl/err.h>
#include <openssl/evp.h>

#include <stdexcept>

#include "platform/KeyDecryption.h"
#include "platform/PosixLibcrypto.h"

namespace usbwiz {

namespace {

const EVP_CIPHER* CipherOf(CbcCipher cipher) {
    switch (cipher) {
        case CbcCipher::Aes128:
            return EVP_aes_128_cbc();
        case CbcCipher::Aes192:
            return EVP_aes_192_cbc();
        case CbcCipher::Aes256:
            return EVP_aes_256_cbc();
        case CbcCipher::DesEde3:
            return EVP_des_ede3_cbc();
    }
    return nullptr;
}

}  // namespace

std::optional<std::string> DecryptCbc(CbcCipher cipher, std::string_view key, std::string_view iv,
                                      std::string_view ciphertext) {
    if (key.size() != CipherKeySize(cipher) || iv.size() != CipherBlockSize(cipher))
        return std::nullopt;
    const Owned<EVP_CIPHER_CTX> context(EVP_CIPHER_CTX_new());
    std::string plain(ciphertext.size() + CipherBlockSize(cipher), '\0');
    auto* out = reinterpret_cast<unsigned char*>(plain.data());
    int written = 0, last = 0;
    if (!context ||
        EVP_DecryptInit_ex(context.get(), CipherOf(cipher), nullptr, Bytes(key), Bytes(iv)) != 1 ||
        EVP_DecryptUpdate(context.get(), out, &written, Bytes(ciphertext),
                          static_cast<int>(ciphertext.size())) != 1 ||
        EVP_DecryptFinal_ex(context.get(), out + written, &last) != 1) {
        ERR_clear_error();
        return std::nullopt;
    }
    plain.resize(static_cast<std::size_t>(written + last));
    return plain;
}

std::string Pbkdf2(HashAlgorithm prf, std::string_view password, std::string_view salt,
                   std::uint32_t iterations, std::size_t length) {
    std::string key(length, '\0');
    if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), Bytes(salt),
                          static_cast<int>(salt.size()), static_cast<int>(iterations),
                          prf == HashAlgorithm::Sha1 ? EVP_sha1() : EVP_sha256(),
                          static_cast<int>(length),
                          reinterpret_cast<unsigned char*>(key.data())) != 1)
        throw std::runtime_error("libcrypto: PBKDF2 failed");
    return key;
}

std::string Md5(std::string_view bytes) {
    std::string digest(16, '\0');
    if (EVP_Digest(bytes.data(), bytes.size(), reinterpret_cast<unsigned char*>(digest.data()),
                   nullptr, EVP_md5(), nullptr) != 1)
        throw std::runtime_error("libcrypto: MD5 failed");
    return digest;
}

}  // namespace usbwiz
