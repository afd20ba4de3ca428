#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "platform/Signing.h"

namespace usbwiz {

// A private key as a key file holds it, read by our own code so that every build reads the
// same files alike; the system's library only makes the key from the numbers.
using PrivateKeyNumbers = std::variant<RsaPrivateNumbers, EcPrivateNumbers>;

KeyAlgorithm AlgorithmOf(const PrivateKeyNumbers& key);

struct KeyFileReading {
    std::optional<PrivateKeyNumbers> key;
    std::string problem;  // why there is no key, one line; empty when there is one
    // The password is what is wrong: the key is encrypted and none was given, or the one given
    // does not open it.
    bool passwordRefused = false;
};

// The first private key of a PEM file: PKCS #8 ("PRIVATE KEY"); PKCS #8 encrypted with PBES2
// (PBKDF2 with HMAC-SHA1 or HMAC-SHA256, AES-CBC or DES-EDE3-CBC: "ENCRYPTED PRIVATE KEY");
// or the traditional PKCS #1 and SEC 1 forms ("RSA PRIVATE KEY", "EC PRIVATE KEY"), which may
// be encrypted as OpenSSL does it (Proc-Type and DEK-Info headers, AES-CBC or DES-EDE3-CBC).
// `password` opens an encrypted key and is not needed for another.
KeyFileReading ReadPrivateKeyFile(std::string_view text,
                                  const std::optional<std::string>& password);

}  // namespace usbwiz
