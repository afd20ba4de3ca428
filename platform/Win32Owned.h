#pragma once

#include <windows.h>
// windows.h first: the crypto headers build on it.
#include <bcrypt.h>
#include <wincrypt.h>

#include <utility>

namespace usbwiz {

// One handle of a Windows library and the call that lets it go, run once when the owner ends.
// Movable, not copyable; a zero handle owns nothing.
template <typename Handle, void (*Release)(Handle)>
class Owned {
  public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { Reset(); }
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, Handle{});
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle Get() const { return handle_; }
    // For a call that hands out a new handle: whatever was held is let go first.
    Handle* Out() {
        Reset();
        return &handle_;
    }
    explicit operator bool() const { return handle_ != Handle{}; }

  private:
    void Reset() {
        if (handle_ != Handle{}) Release(std::exchange(handle_, Handle{}));
    }
    Handle handle_{};
};

namespace release {
inline void Algorithm(BCRYPT_ALG_HANDLE h) {
    BCryptCloseAlgorithmProvider(h, 0);
}
inline void Key(BCRYPT_KEY_HANDLE h) {
    BCryptDestroyKey(h);
}
inline void Hash(BCRYPT_HASH_HANDLE h) {
    BCryptDestroyHash(h);
}
inline void Store(HCERTSTORE h) {
    CertCloseStore(h, 0);
}
inline void Certificate(PCCERT_CONTEXT h) {
    CertFreeCertificateContext(h);
}
inline void Provider(HCRYPTPROV h) {
    CryptReleaseContext(h, 0);
}
inline void CapiKey(HCRYPTKEY h) {
    CryptDestroyKey(h);
}
inline void CapiHash(HCRYPTHASH h) {
    CryptDestroyHash(h);
}
inline void Local(void* h) {
    LocalFree(h);
}
}  // namespace release

using OwnedAlgorithm = Owned<BCRYPT_ALG_HANDLE, release::Algorithm>;
using OwnedKey = Owned<BCRYPT_KEY_HANDLE, release::Key>;
using OwnedStore = Owned<HCERTSTORE, release::Store>;
using OwnedCertificate = Owned<PCCERT_CONTEXT, release::Certificate>;
using OwnedProvider = Owned<HCRYPTPROV, release::Provider>;
using OwnedCapiKey = Owned<HCRYPTKEY, release::CapiKey>;
using OwnedCapiHash = Owned<HCRYPTHASH, release::CapiHash>;

}  // namespace usbwiz
