#include "app/win32/PageArtwork.h"

#include <cstdlib>

#include "app/win32/ResourceIds.h"

namespace usbwiz {

namespace {

constexpr int kBannerResources[] = {USBWIZ_BANNER_BITMAP, USBWIZ_BANNER_BITMAP_125,
                                    USBWIZ_BANNER_BITMAP_150, USBWIZ_BANNER_BITMAP_200};

// Functions of later Windows versions, looked up so that the program still starts on earlier ones.
template <typename Function>
Function FromUser32(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

// The size a bitmap resource holds, read from its header without loading the pixels.
SIZE ResourceSize(HINSTANCE instance, int resource) {
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(resource), MAKEINTRESOURCEA(2));
    const auto* header =
        found == nullptr
            ? nullptr
            : static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(instance, found)));
    if (header == nullptr) return {0, 0};
    return {header->biWidth, std::abs(header->biHeight)};
}

HBITMAP DibSection(SIZE size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

}  // namespace

UINT WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = FromUser32<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow != nullptr) {
        if (const UINT dpi = getDpiForWindow(window)) return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

int MetricForDpi(int metric, UINT dpi) {
    using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
    static const auto getSystemMetricsForDpi =
        FromUser32<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (getSystemMetricsForDpi != nullptr) return getSystemMetricsForDpi(metric, dpi);
    return GetSystemMetrics(metric);
}

BannerArt NearestBanner(HINSTANCE instance, SIZE frame) {
    BannerArt nearest;
    long nearestDistance = 0;
    for (int resource : kBannerResources) {
        const SIZE size = ResourceSize(instance, resource);
        if (size.cx <= 0 || size.cy <= 0) continue;
        const long distance = std::labs(size.cx - frame.cx) + std::labs(size.cy - frame.cy);
        // On a tie the larger one: scaling down keeps more detail than scaling up.
        if (nearest.resource == 0 || distance <= nearestDistance) {
            nearest = {resource, size};
            nearestDistance = distance;
        }
    }
    return nearest;
}

HBITMAP BannerBitmap(HINSTANCE instance, SIZE frame) {
    if (frame.cx <= 0 || frame.cy <= 0) return nullptr;
    const BannerArt art = NearestBanner(instance, frame);
    if (art.resource == 0) return nullptr;
    auto* source = static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(art.resource),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (source == nullptr || (art.size.cx == frame.cx && art.size.cy == frame.cy)) return source;

    HBITMAP scaled = DibSection(frame);
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    if (scaled != nullptr && from != nullptr && to != nullptr) {
        HGDIOBJ oldFrom = SelectObject(from, source);
        HGDIOBJ oldTo = SelectObject(to, scaled);
        // Halftoning averages the pixels a target pixel covers; the default mode drops them.
        SetStretchBltMode(to, HALFTONE);
        SetBrushOrgEx(to, 0, 0, nullptr);
        StretchBlt(to, 0, 0, frame.cx, frame.cy, from, 0, 0, art.size.cx, art.size.cy, SRCCOPY);
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
    }
    if (from != nullptr) DeleteDC(from);
    if (to != nullptr) DeleteDC(to);
    DeleteObject(source);
    return scaled;
}

HICON AppIcon(HINSTANCE instance, int size) {
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(USBWIZ_APP_ICON), IMAGE_ICON,
                                         size, size, LR_DEFAULTCOLOR));
}

}  // namespace usbwiz
