#pragma once

#include <string>

namespace usbwiz {

// Overwrites every character `text` holds (its whole capacity) and empties it, so that its
// memory no longer holds a secret once freed. Copies made elsewhere are not reached.
void WipeText(std::string& text) noexcept;

// A secret (a password) held in memory only: never copied, wiped when replaced or destroyed.
class SecretText {
  public:
    SecretText() = default;
    ~SecretText() { WipeText(text_); }
    SecretText(const SecretText&) = delete;
    SecretText& operator=(const SecretText&) = delete;

    // Takes `text` over; what `text` held is wiped.
    void Replace(std::string& text) noexcept;
    void Wipe() noexcept { WipeText(text_); }
    const std::string& Text() const { return text_; }

  private:
    std::string text_;
};

}  // namespace usbwiz
