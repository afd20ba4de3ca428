#pragma once

// Owners for the libcrypto objects of the POSIX platform's files, and the ciphers of old
// PKCS #12 files.
#include <openssl/bn.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>
#include <openssl/pkcs12.h>
#include <openssl/x509.h>

#include <memory>
#include <string_view>

namespace usbwiz {

struct Freed {
    void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
    void operator()(EVP_PKEY_CTX* p) const { EVP_PKEY_CTX_free(p); }
    void operator()(EVP_MD_CTX* p) const { EVP_MD_CTX_free(p); }
    void operator()(EVP_CIPHER_CTX* p) const { EVP_CIPHER_CTX_free(p); }
    void operator()(EVP_CIPHER* p) const { EVP_CIPHER_free(p); }
    void operator()(X509* p) const { X509_free(p); }
    void operator()(PKCS12* p) const { PKCS12_free(p); }
    void operator()(STACK_OF(PKCS7) * p) const { sk_PKCS7_pop_free(p, PKCS7_free); }
    void operator()(STACK_OF(PKCS12_SAFEBAG) * p) const {
        sk_PKCS12_SAFEBAG_pop_free(p, PKCS12_SAFEBAG_free);
    }
    void operator()(PKCS8_PRIV_KEY_INFO* p) const { PKCS8_PRIV_KEY_INFO_free(p); }
    void operator()(BIGNUM* p) const { BN_clear_free(p); }
    void operator()(OSSL_PARAM_BLD* p) const { OSSL_PARAM_BLD_free(p); }
    void operator()(OSSL_PARAM* p) const { OSSL_PARAM_free(p); }
    void operator()(EC_GROUP* p) const { EC_GROUP_free(p); }
    void operator()(EC_POINT* p) const { EC_POINT_free(p); }
};
template <typename T>
using Owned = std::unique_ptr<T, Freed>;

inline const unsigned char* Bytes(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

// Makes the RC2 ciphers of PKCS #12 files that older Windows and many CA tools still write
// available to the library, beside its default ciphers; once per process, before any file is
// read. OpenSSL 3 keeps RC2 in its legacy provider, a module loaded from the system at run
// time, which a program with libcrypto linked in cannot count on: this is a provider of ours,
// built into the program, over the RC2 functions libcrypto itself still holds.
void LoadLegacyCiphers();

}  // namespace usbwiz
