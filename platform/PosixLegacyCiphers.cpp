// RC2 in CBC mode as a provider built into the program: the cipher of the certificate bags of
// PKCS #12 files written with `openssl pkcs12 -legacy` and by older Windows. Decryption only:
// the program reads such files and never writes one. The block cipher is libcrypto's own (its
// low-level RC2 functions, deprecated in OpenSSL 3 but still in every build that does not leave
// out RC2); this file only presents it to the library as a provider does.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/core_dispatch.h>
#include <openssl/core_names.h>
#include <openssl/params.h>
#include <openssl/provider.h>
#include <openssl/rc2.h>

#include <cstring>
#include <string>

#include "platform/PosixLibcrypto.h"

namespace usbwiz {

namespace {

constexpr std::size_t kBlock = 8;

struct Rc2Context {
    explicit Rc2Context(std::size_t bytes) : keyBytes(bytes) {}
    std::size_t keyBytes;
    RC2_KEY key{};
    unsigned char iv[kBlock] = {};
    unsigned padding = 1;
    std::string pending;  // input not yet passed on: part of a block, or the last block
};

Rc2Context* Context(void* context) {
    return static_cast<Rc2Context*>(context);
}

// The key is RC2's key with as many effective bits as it has bits (RC2-40: 40).
template <std::size_t KeyBytes>
void* NewContext(void*) {
    return new Rc2Context(KeyBytes);
}

void FreeContext(void* context) {
    delete Context(context);
}

int SetContextParameters(void* context, const OSSL_PARAM parameters[]) {
    Rc2Context& c = *Context(context);
    if (const OSSL_PARAM* p = OSSL_PARAM_locate_const(parameters, OSSL_CIPHER_PARAM_PADDING))
        if (OSSL_PARAM_get_uint(p, &c.padding) != 1) return 0;
    if (const OSSL_PARAM* p = OSSL_PARAM_locate_const(parameters, OSSL_CIPHER_PARAM_KEYLEN)) {
        std::size_t length = 0;
        if (OSSL_PARAM_get_size_t(p, &length) != 1 || length != c.keyBytes) return 0;
    }
    return 1;
}

int StartDecrypting(void* context, const unsigned char* key, std::size_t keyLength,
                    const unsigned char* iv, std::size_t ivLength, const OSSL_PARAM parameters[]) {
    Rc2Context& c = *Context(context);
    c.pending.clear();
    if (key != nullptr) {
        if (keyLength != c.keyBytes) return 0;
        RC2_set_key(&c.key, static_cast<int>(keyLength), key, static_cast<int>(keyLength * 8));
    }
    if (iv != nullptr) {
        if (ivLength != kBlock) return 0;
        std::memcpy(c.iv, iv, kBlock);
    }
    return SetContextParameters(context, parameters);
}

// Decrypts `count` bytes of the pending input (whole blocks) into `out`.
void Process(Rc2Context& c, std::size_t count, unsigned char* out) {
    RC2_cbc_encrypt(reinterpret_cast<const unsigned char*>(c.pending.data()), out,
                    static_cast<long>(count), &c.key, c.iv, RC2_DECRYPT);
    c.pending.erase(0, count);
}

int Update(void* context, unsigned char* out, std::size_t* written, std::size_t room,
           const unsigned char* in, std::size_t size) {
    Rc2Context& c = *Context(context);
    c.pending.append(reinterpret_cast<const char*>(in), size);
    std::size_t whole = c.pending.size() / kBlock * kBlock;
    // With padding, the last block waits for Final, which removes the padding.
    if (c.padding != 0 && whole == c.pending.size() && whole > 0) whole -= kBlock;
    if (whole > room) return 0;
    Process(c, whole, out);
    *written = whole;
    return 1;
}

int Final(void* context, unsigned char* out, std::size_t* written, std::size_t room) {
    Rc2Context& c = *Context(context);
    *written = 0;
    if (c.padding == 0) return c.pending.empty() ? 1 : 0;
    if (room < kBlock || c.pending.size() != kBlock) return 0;
    unsigned char block[kBlock];
    Process(c, kBlock, block);
    const unsigned pad = block[kBlock - 1];
    if (pad == 0 || pad > kBlock) return 0;
    for (std::size_t i = kBlock - pad; i < kBlock; ++i)
        if (block[i] != pad) return 0;
    std::memcpy(out, block, kBlock - pad);
    *written = kBlock - pad;
    return 1;
}

template <std::size_t KeyBytes>
int CipherParameters(OSSL_PARAM parameters[]) {
    OSSL_PARAM* p = nullptr;
    return ((p = OSSL_PARAM_locate(parameters, OSSL_CIPHER_PARAM_MODE)) == nullptr ||
            OSSL_PARAM_set_uint(p, EVP_CIPH_CBC_MODE) == 1) &&
           ((p = OSSL_PARAM_locate(parameters, OSSL_CIPHER_PARAM_KEYLEN)) == nullptr ||
            OSSL_PARAM_set_size_t(p, KeyBytes) == 1) &&
           ((p = OSSL_PARAM_locate(parameters, OSSL_CIPHER_PARAM_IVLEN)) == nullptr ||
            OSSL_PARAM_set_size_t(p, kBlock) == 1) &&
           ((p = OSSL_PARAM_locate(parameters, OSSL_CIPHER_PARAM_BLOCK_SIZE)) == nullptr ||
            OSSL_PARAM_set_size_t(p, kBlock) == 1);
}

int ContextParameters(void* context, OSSL_PARAM parameters[]) {
    const Rc2Context& c = *Context(context);
    OSSL_PARAM* p = nullptr;
    return ((p = OSSL_PARAM_locate(parameters, OSSL_CIPHER_PARAM_KEYLEN)) == nullptr ||
            OSSL_PARAM_set_size_t(p, c.keyBytes) == 1) &&
           ((p = OSSL_PARAM_locate(parameters, OSSL_CIPHER_PARAM_IVLEN)) == nullptr ||
            OSSL_PARAM_set_size_t(p, kBlock) == 1) &&
           ((p = OSSL_PARAM_locate(parameters, OSSL_CIPHER_PARAM_PADDING)) == nullptr ||
            OSSL_PARAM_set_uint(p, c.padding) == 1);
}

const OSSL_PARAM kCipherParameters[] = {
    OSSL_PARAM_uint(OSSL_CIPHER_PARAM_MODE, nullptr),
    OSSL_PARAM_size_t(OSSL_CIPHER_PARAM_KEYLEN, nullptr),
    OSSL_PARAM_size_t(OSSL_CIPHER_PARAM_IVLEN, nullptr),
    OSSL_PARAM_size_t(OSSL_CIPHER_PARAM_BLOCK_SIZE, nullptr),
    OSSL_PARAM_END,
};
const OSSL_PARAM kContextParameters[] = {
    OSSL_PARAM_size_t(OSSL_CIPHER_PARAM_KEYLEN, nullptr),
    OSSL_PARAM_size_t(OSSL_CIPHER_PARAM_IVLEN, nullptr),
    OSSL_PARAM_uint(OSSL_CIPHER_PARAM_PADDING, nullptr),
    OSSL_PARAM_END,
};
const OSSL_PARAM kSettableParameters[] = {
    OSSL_PARAM_size_t(OSSL_CIPHER_PARAM_KEYLEN, nullptr),
    OSSL_PARAM_uint(OSSL_CIPHER_PARAM_PADDING, nullptr),
    OSSL_PARAM_END,
};

const OSSL_PARAM* GettableParameters(void*) {
    return kCipherParameters;
}
const OSSL_PARAM* GettableContextParameters(void*, void*) {
    return kContextParameters;
}
const OSSL_PARAM* SettableContextParameters(void*, void*) {
    return kSettableParameters;
}

using Function = void (*)();
template <typename F>
Function AsFunction(F* f) {
    return reinterpret_cast<Function>(f);
}

template <std::size_t KeyBytes>
const OSSL_DISPATCH kRc2Functions[] = {
    {OSSL_FUNC_CIPHER_NEWCTX, AsFunction(&NewContext<KeyBytes>)},
    {OSSL_FUNC_CIPHER_FREECTX, AsFunction(&FreeContext)},
    {OSSL_FUNC_CIPHER_DECRYPT_INIT, AsFunction(&StartDecrypting)},
    {OSSL_FUNC_CIPHER_UPDATE, AsFunction(&Update)},
    {OSSL_FUNC_CIPHER_FINAL, AsFunction(&Final)},
    {OSSL_FUNC_CIPHER_GET_PARAMS, AsFunction(&CipherParameters<KeyBytes>)},
    {OSSL_FUNC_CIPHER_GET_CTX_PARAMS, AsFunction(&ContextParameters)},
    {OSSL_FUNC_CIPHER_SET_CTX_PARAMS, AsFunction(&SetContextParameters)},
    {OSSL_FUNC_CIPHER_GETTABLE_PARAMS, AsFunction(&GettableParameters)},
    {OSSL_FUNC_CIPHER_GETTABLE_CTX_PARAMS, AsFunction(&GettableContextParameters)},
    {OSSL_FUNC_CIPHER_SETTABLE_CTX_PARAMS, AsFunction(&SettableContextParameters)},
    {0, nullptr},
};

constexpr const char* kProviderName = "usbwiz-rc2";

// RC2-40 is the certificate bags' cipher of `-legacy` files; 128-bit RC2 that of some others.
const OSSL_ALGORITHM kCiphers[] = {
    {"RC2-40-CBC:RC2-40", "provider=usbwiz-rc2", kRc2Functions<5>, nullptr},
    {"RC2-CBC:RC2:RC2-128", "provider=usbwiz-rc2", kRc2Functions<16>, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

const OSSL_ALGORITHM* Query(void*, int operation, int* noCache) {
    *noCache = 0;
    return operation == OSSL_OP_CIPHER ? kCiphers : nullptr;
}

const OSSL_DISPATCH kProviderFunctions[] = {
    {OSSL_FUNC_PROVIDER_QUERY_OPERATION, AsFunction(&Query)},
    {0, nullptr},
};

int Initialize(const OSSL_CORE_HANDLE*, const OSSL_DISPATCH*, const OSSL_DISPATCH** out,
               void** providerContext) {
    static int context;
    *out = kProviderFunctions;
    *providerContext = &context;
    return 1;
}

}  // namespace

void LoadLegacyCiphers() {
    // Loading a provider by name stops the default one from loading by itself: both, held
    // until the program ends (and let go before libcrypto cleans up after itself).
    struct Providers {
        Providers() {
            OSSL_PROVIDER_add_builtin(nullptr, kProviderName, Initialize);
            standard = OSSL_PROVIDER_load(nullptr, "default");
            rc2 = OSSL_PROVIDER_load(nullptr, kProviderName);
        }
        ~Providers() {
            if (rc2 != nullptr) OSSL_PROVIDER_unload(rc2);
            if (standard != nullptr) OSSL_PROVIDER_unload(standard);
        }
        OSSL_PROVIDER* standard = nullptr;
        OSSL_PROVIDER* rc2 = nullptr;
    };
    static const Providers loaded;
}

}  // namespace usbwiz
