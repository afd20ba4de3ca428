#pragma once

#include <array>
#include <string_view>

namespace usbwiz {

// The driver author's notice that heads every INF file: the full block for the COM port
// package's INFs, one line for the Ferrolink INF.
inline constexpr std::array<std::string_view, 8> kDriverNotice{
    "; Copyright (c) 2004 Vexmor. All rights reserved.",
    ";",
    "; The driver files that this file installs are licensed, not sold, for use",
    "; with the USB device named above and for no other purpose. They may be passed",
    "; on only unchanged and together with this installation file.",
    ";",
    "; THE DRIVER FILES ARE PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND.",
    ";",
};

inline constexpr std::array<std::string_view, 1> kDriverNoticeLine{
    "; Copyright (c) 2004 Vexmor. Licensed for use with Vexmor USB chips only; pass on unchanged.",
};

}  // namespace usbwiz
