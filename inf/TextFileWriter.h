#pragma once

#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace usbwiz {

inline constexpr std::string_view kOpenFailedMessage = "Error: Could Not Open File For Write.";

// Writes a finished text (or payload) to `path` in one piece. On any failure shows the
// open-failure message with no owner and no caption, using `icon`, and answers 0; else 1.
// A failed write or close is reported like a failed open: never as success.
int WriteWholeFileOrReport(Platform& platform, const std::string& path, std::string_view bytes,
                           MessageIcon icon = MessageIcon::Error);

}  // namespace usbwiz
