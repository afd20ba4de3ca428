#pragma once

#include <windows.h>
// windows.h first: bcrypt.h builds on its types.
#include <bcrypt.h>

#include <cstdio>
#include <stdexcept>

namespace usbwiz {

// A failed BCrypt call as an exception naming the step and its status.
inline void CheckBcrypt(NTSTATUS status, const char* step) {
    if (BCRYPT_SUCCESS(status)) return;
    char text[96];
    std::snprintf(text, sizeof text, "BCrypt: %s failed (0x%08lX)", step,
                  static_cast<unsigned long>(status));
    throw std::runtime_error(text);
}

}  // namespace usbwiz
