#pragma once

#include <algorithm>
#include <array>

namespace usbwiz {

// The ANSI code pages of Windows' languages: Thai, Japanese, Simplified Chinese, Korean,
// Traditional Chinese, then Central European to Vietnamese.
inline constexpr std::array<unsigned, 14> kWindowsAnsiCodePages{
    874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258};

inline bool IsWindowsAnsiCodePage(unsigned codePage) {
    return std::find(kWindowsAnsiCodePages.begin(), kWindowsAnsiCodePages.end(), codePage) !=
           kWindowsAnsiCodePages.end();
}

}  // namespace usbwiz
