#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>

#include "platform/SignatureSupport.h"

namespace usbwiz {

bool CanCheckSignaturesOf(std::string_view publicKeyInfo) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(publicKeyInfo.data());
    const std::unique_ptr<EVP_PKEY, void (*)(EVP_PKEY*)> key(
        d2i_PUBKEY(nullptr, &bytes, static_cast<long>(publicKeyInfo.size())), EVP_PKEY_free);
    ERR_clear_error();
    return key && (EVP_PKEY_base_id(key.get()) == EVP_PKEY_RSA ||
                   EVP_PKEY_base_id(key.get()) == EVP_PKEY_EC);
}

}  // namespace usbwiz
