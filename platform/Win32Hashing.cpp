#include <windows.h>
// windows.h first: bcrypt.h builds on its types.
#include <bcrypt.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "platform/Hashing.h"
#include "platform/Win32BcryptStatus.h"

namespace usbwiz {

struct Hasher::State {
    BCRYPT_ALG_HANDLE provider = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    std::vector<UCHAR> hashObject;  // Vista's BCrypt wants the caller's memory for the object
    ULONG digestSize = 0;
    bool finished = false;

    ~State() {
        if (hash != nullptr) BCryptDestroyHash(hash);
        if (provider != nullptr) BCryptCloseAlgorithmProvider(provider, 0);
    }
};

namespace {

ULONG Property(BCRYPT_HANDLE handle, LPCWSTR name, const char* step) {
    DWORD value = 0;
    ULONG written = 0;
    CheckBcrypt(BCryptGetProperty(handle, name, reinterpret_cast<PUCHAR>(&value), sizeof value,
                                  &written, 0),
                step);
    return value;
}

}  // namespace

Hasher::Hasher(HashAlgorithm algorithm) : state_(std::make_unique<State>()) {
    const LPCWSTR name =
        algorithm == HashAlgorithm::Sha1 ? BCRYPT_SHA1_ALGORITHM : BCRYPT_SHA256_ALGORITHM;
    CheckBcrypt(BCryptOpenAlgorithmProvider(&state_->provider, name, nullptr, 0),
                "BCryptOpenAlgorithmProvider");
    state_->hashObject.resize(
        Property(state_->provider, BCRYPT_OBJECT_LENGTH, "BCryptGetProperty(ObjectLength)"));
    state_->digestSize =
        Property(state_->provider, BCRYPT_HASH_LENGTH, "BCryptGetProperty(HashDigestLength)");
    CheckBcrypt(BCryptCreateHash(state_->provider, &state_->hash, state_->hashObject.data(),
                                 static_cast<ULONG>(state_->hashObject.size()), nullptr, 0, 0),
                "BCryptCreateHash");
}

Hasher::~Hasher() = default;

void Hasher::Update(std::string_view bytes) {
    if (state_->finished) throw std::logic_error("Hasher::Update after Finish");
    // BCryptHashData takes a ULONG count: feed larger inputs in pieces.
    while (!bytes.empty()) {
        const std::size_t piece = std::min<std::size_t>(bytes.size(), 0x40000000);
        // The input parameter lacks const in the signature; BCrypt only reads it.
        CheckBcrypt(
            BCryptHashData(state_->hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                           static_cast<ULONG>(piece), 0),
            "BCryptHashData");
        bytes.remove_prefix(piece);
    }
}

std::string Hasher::Finish() {
    if (state_->finished) throw std::logic_error("Hasher::Finish called twice");
    state_->finished = true;
    std::string digest(state_->digestSize, '\0');
    CheckBcrypt(BCryptFinishHash(state_->hash, reinterpret_cast<PUCHAR>(digest.data()),
                                 state_->digestSize, 0),
                "BCryptFinishHash");
    return digest;
}

}  // namespace usbwiz
