#include <openssl/evp.h>

#include <stdexcept>

#include "platform/Hashing.h"

namespace usbwiz {

struct Hasher::State {
    EVP_MD_CTX* context = nullptr;
    bool finished = false;

    ~State() { EVP_MD_CTX_free(context); }
};

namespace {

[[noreturn]] void Fail(const char* step) {
    throw std::runtime_error(std::string("libcrypto: ") + step + " failed");
}

}  // namespace

Hasher::Hasher(HashAlgorithm algorithm) : state_(std::make_unique<State>()) {
    state_->context = EVP_MD_CTX_new();
    if (state_->context == nullptr) Fail("EVP_MD_CTX_new");
    const EVP_MD* md = algorithm == HashAlgorithm::Sha1 ? EVP_sha1() : EVP_sha256();
    if (EVP_DigestInit_ex(state_->context, md, nullptr) != 1) Fail("EVP_DigestInit_ex");
}

Hasher::~Hasher() = default;

void Hasher::Update(std::string_view bytes) {
    if (state_->finished) throw std::logic_error("Hasher::Update after Finish");
    if (bytes.empty()) return;
    if (EVP_DigestUpdate(state_->context, bytes.data(), bytes.size()) != 1)
        Fail("EVP_DigestUpdate");
}

std::string Hasher::Finish() {
    if (state_->finished) throw std::logic_error("Hasher::Finish called twice");
    state_->finished = true;
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_DigestFinal_ex(state_->context, digest, &size) != 1) Fail("EVP_DigestFinal_ex");
    return std::string(reinterpret_cast<const char*>(digest), size);
}

}  // namespace usbwiz
