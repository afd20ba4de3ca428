#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Hashing.h"

namespace usbwiz {

// The ciphers and key derivations of encrypted PEM private keys, from the system's crypto
// library. Which of them a key file asks for is read by our own code.

enum class CbcCipher { Aes128, Aes192, Aes256, DesEde3 };

// The key size of a cipher in bytes; its block (and IV) size is 16, or 8 for DES-EDE3.
constexpr std::size_t CipherKeySize(CbcCipher cipher) {
    return cipher == CbcCipher::Aes128 ? 16 : cipher == CbcCipher::Aes256 ? 32 : 24;
}
constexpr std::size_t CipherBlockSize(CbcCipher cipher) {
    return cipher == CbcCipher::DesEde3 ? 8 : 16;
}

// The plaintext of CBC `ciphertext` without its PKCS #7 padding; nullopt when the key or IV
// does not fit the cipher or the padding is not padding (mostly: a wrong password).
std::optional<std::string> DecryptCbc(CbcCipher cipher, std::string_view key, std::string_view iv,
                                      std::string_view ciphertext);

// PBKDF2 with HMAC over `prf`: `length` bytes.
std::string Pbkdf2(HashAlgorithm prf, std::string_view password, std::string_view salt,
                   std::uint32_t iterations, std::size_t length);

// MD5, for the key derivation of traditional encrypted PEM keys only.
std::string Md5(std::string_view bytes);

}  // namespace usbwiz
