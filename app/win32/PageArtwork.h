#pragma once

#include <windows.h>

namespace usbwiz {

// The pages' pictures at the scale a window is shown at.

// The DPI of a window: its monitor's where Windows tells it (Windows 10 1607 and later),
// otherwise the screen's.
UINT WindowDpi(HWND window);

// A size from the system metrics (SM_CXICON, ...) at `dpi`.
int MetricForDpi(int metric, UINT dpi);

// A banner resource and the size it was drawn at.
struct BannerArt {
    int resource = 0;
    SIZE size{};
};

// Of the banner's resources (100, 125, 150 and 200 %), the one whose size is nearest `frame`.
BannerArt NearestBanner(HINSTANCE instance, SIZE frame);

// The banner drawn to exactly `frame`: the nearest resource as it is where it has that size,
// otherwise scaled with halftoning. A 24-bit bitmap the caller deletes; nullptr when it cannot be
// made.
HBITMAP BannerBitmap(HINSTANCE instance, SIZE frame);

// The program's icon at `size` pixels, from its nearest image; the caller destroys it.
HICON AppIcon(HINSTANCE instance, int size);

}  // namespace usbwiz
