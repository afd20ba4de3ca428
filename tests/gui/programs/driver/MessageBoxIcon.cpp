#include "MessageBoxIcon.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace usbwiz {

namespace {

constexpr std::pair<BoxIcon, const char*> kIconNames[] = {
    {BoxIcon::None, "none"},
    {BoxIcon::Error, "error"},
    {BoxIcon::Warning, "warning"},
    {BoxIcon::Question, "question"},
    {BoxIcon::Information, "information"},
};

// Share of an icon's opaque pixels that must be on the screen exactly: all of them in practice,
// with room for a stray pixel of a caret or a focus line.
constexpr double kMatchingShare = 0.97;

// A 32-bit top-down bitmap whose pixels this process can read.
class Pixels {
  public:
    Pixels(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<std::uint32_t*>(bits);
        if (bitmap_ != nullptr) previous_ = SelectObject(dc_, bitmap_);
    }
    Pixels(const Pixels&) = delete;
    Pixels& operator=(const Pixels&) = delete;
    ~Pixels() {
        if (previous_ != nullptr) SelectObject(dc_, previous_);
        if (bitmap_ != nullptr) DeleteObject(bitmap_);
        DeleteDC(dc_);
    }

    bool Usable() const { return bits_ != nullptr; }
    HDC Dc() const { return dc_; }
    std::uint32_t At(int i) const { return bits_[i] & 0x00FFFFFF; }
    int Count() const { return width_ * height_; }
    void Fill(std::uint32_t colour) {
        for (int i = 0; i < Count(); ++i) bits_[i] = colour;
        GdiFlush();
    }

  private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

// How many of the icon's opaque pixels the screen shows exactly, out of how many there are.
// A pixel is opaque where the icon drawn on black and on white comes out the same.
std::pair<int, int> Agreement(LPCSTR systemIcon, const Pixels& screen, int width, int height) {
    HICON icon = LoadIconA(nullptr, systemIcon);
    Pixels onBlack(width, height), onWhite(width, height);
    if (icon == nullptr || !onBlack.Usable() || !onWhite.Usable()) return {0, 0};
    onBlack.Fill(0x000000);
    onWhite.Fill(0xFFFFFF);
    DrawIconEx(onBlack.Dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    DrawIconEx(onWhite.Dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    GdiFlush();
    int opaque = 0, same = 0;
    for (int i = 0; i < screen.Count(); ++i) {
        if (onBlack.At(i) != onWhite.At(i)) continue;
        ++opaque;
        if (screen.At(i) == onBlack.At(i)) ++same;
    }
    return {same, opaque};
}

HWND IconControlOf(HWND messageBox) {
    for (HWND child = GetWindow(messageBox, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = {};
        GetClassNameA(child, name, sizeof name);
        const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
        if (lstrcmpiA(name, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) return child;
    }
    return nullptr;
}

}  // namespace

std::string NameOf(BoxIcon icon) {
    for (const auto& [known, name] : kIconNames)
        if (known == icon) return name;
    return "an icon that is none of the system's";
}

std::optional<BoxIcon> BoxIconByName(const std::string& name) {
    for (const auto& [icon, known] : kIconNames)
        if (name == known) return icon;
    return std::nullopt;
}

BoxIcon IconShownBy(HWND messageBox) {
    HWND control = IconControlOf(messageBox);
    if (control == nullptr || !IsWindowVisible(control)) return BoxIcon::None;
    DWORD_PTR handle = 0;
    if (!SendMessageTimeoutA(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &handle) ||
        handle == 0)
        return BoxIcon::None;

    RECT area;
    GetWindowRect(control, &area);
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return BoxIcon::None;
    Pixels screen(width, height);
    if (!screen.Usable()) return BoxIcon::Unknown;
    HDC desktop = GetDC(nullptr);
    BitBlt(screen.Dc(), 0, 0, width, height, desktop, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, desktop);
    GdiFlush();

    const std::pair<BoxIcon, LPCSTR> kSystemIcons[] = {
        {BoxIcon::Error, IDI_HAND},
        {BoxIcon::Warning, IDI_EXCLAMATION},
        {BoxIcon::Question, IDI_QUESTION},
        {BoxIcon::Information, IDI_ASTERISK},
    };
    for (const auto& [icon, systemIcon] : kSystemIcons) {
        const auto [same, opaque] = Agreement(systemIcon, screen, width, height);
        // An icon with hardly any opaque pixels would match anything.
        if (opaque >= screen.Count() / 4 && same >= kMatchingShare * opaque) return icon;
    }
    return BoxIcon::Unknown;
}

}  // namespace usbwiz
