#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace usbwiz {

enum class HashAlgorithm { Sha1, Sha256 };

// The length of a digest in bytes.
constexpr std::size_t DigestSize(HashAlgorithm algorithm) {
    return algorithm == HashAlgorithm::Sha1 ? 20 : 32;
}

// A digest computed piece by piece by the system's crypto library (libcrypto on POSIX systems,
// BCrypt on Windows). A failure of the library throws std::runtime_error.
class Hasher {
  public:
    explicit Hasher(HashAlgorithm algorithm);
    ~Hasher();
    Hasher(const Hasher&) = delete;
    Hasher& operator=(const Hasher&) = delete;

    void Update(std::string_view bytes);

    // The raw digest, DigestSize() bytes. The hasher takes nothing after it (std::logic_error).
    std::string Finish();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// The raw digest of `bytes` in one call.
inline std::string Digest(HashAlgorithm algorithm, std::string_view bytes) {
    Hasher hasher(algorithm);
    hasher.Update(bytes);
    return hasher.Finish();
}

}  // namespace usbwiz
