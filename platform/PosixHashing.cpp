// libcrypto's own SHA-1 and SHA-256 functions rather than EVP, so that a run that only hashes
// (unsigned catalogs) does not start OpenSSL 3's provider machinery. OpenSSL 3 calls these
// functions deprecated; every 3.x release still has them.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/sha.h>

#include <stdexcept>

#include "platform/Hashing.h"

namespace usbwiz {

struct Hasher::State {
    HashAlgorithm algorithm;
    SHA_CTX sha1;
    SHA256_CTX sha256;
    bool finished = false;
};

namespace {

[[noreturn]] void Fail(const char* step) {
    throw std::runtime_error(std::string("libcrypto: ") + step + " failed");
}

}  // namespace

Hasher::Hasher(HashAlgorithm algorithm) : state_(std::make_unique<State>()) {
    state_->algorithm = algorithm;
    const int started =
        algorithm == HashAlgorithm::Sha1 ? SHA1_Init(&state_->sha1) : SHA256_Init(&state_->sha256);
    if (started != 1) Fail("SHA Init");
}

Hasher::~Hasher() = default;

void Hasher::Update(std::string_view bytes) {
    if (state_->finished) throw std::logic_error("Hasher::Update after Finish");
    if (bytes.empty()) return;
    const int updated = state_->algorithm == HashAlgorithm::Sha1
                            ? SHA1_Update(&state_->sha1, bytes.data(), bytes.size())
                            : SHA256_Update(&state_->sha256, bytes.data(), bytes.size());
    if (updated != 1) Fail("SHA Update");
}

std::string Hasher::Finish() {
    if (state_->finished) throw std::logic_error("Hasher::Finish called twice");
    state_->finished = true;
    unsigned char digest[SHA256_DIGEST_LENGTH];
    const int finished = state_->algorithm == HashAlgorithm::Sha1
                             ? SHA1_Final(digest, &state_->sha1)
                             : SHA256_Final(digest, &state_->sha256);
    if (finished != 1) Fail("SHA Final");
    return std::string(reinterpret_cast<const char*>(digest), DigestSize(state_->algorithm));
}

}  // namespace usbwiz
