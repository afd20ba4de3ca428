#include "signing/SecretText.h"

namespace usbwiz {

void WipeText(std::string& text) noexcept {
    // resize within the capacity allocates nothing; the volatile stores are not optimised away
    // as stores to memory about to be freed would be.
    text.resize(text.capacity());
    volatile char* characters = text.data();
    for (std::size_t i = 0; i < text.size(); ++i) characters[i] = '\0';
    text.clear();
}

void SecretText::Replace(std::string& text) noexcept {
    WipeText(text_);
    text_.swap(text);
    WipeText(text);
}

}  // namespace usbwiz
