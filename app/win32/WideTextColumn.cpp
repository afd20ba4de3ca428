#include "app/win32/WideTextColumn.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace usbwiz {

namespace {

std::vector<std::string> LinesOf(HWND control) {
    const int length = GetWindowTextLengthA(control);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(control, text.data(), length + 1)));
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) return lines;
        start = end + 2;
    }
}

// The top of the nearest control below `rect` that shares some of its width: the column may
// grow down to it but not into it.
int RoomBelow(HWND dialog, HWND column, const RECT& rect) {
    RECT client;
    GetClientRect(dialog, &client);
    int limit = client.bottom;
    for (HWND other = GetWindow(dialog, GW_CHILD); other != nullptr;
         other = GetWindow(other, GW_HWNDNEXT)) {
        if (other == column || !IsWindowVisible(other)) continue;
        RECT r;
        GetWindowRect(other, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        if (r.left < rect.right && rect.left < r.right && r.top >= rect.bottom && r.top < limit)
            limit = r.top;
    }
    return limit;
}

}  // namespace

WideTextColumn::WideTextColumn(HWND dialog, const ControlLayout& layout)
    : dialog_(dialog), layout_(layout), column_(GetDlgItem(dialog, layout.id)) {}

void WideTextColumn::Fit() {
    const std::vector<std::string> lines = LinesOf(column_);
    HDC dc = GetDC(column_);
    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(column_, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    RECT format{};
    SendMessageA(column_, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    std::vector<bool> cut(lines.size(), false);
    bool anyCut = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SIZE extent{};
        GetTextExtentPoint32A(dc, lines[i].c_str(), static_cast<int>(lines[i].size()), &extent);
        cut[i] = extent.cx > format.right - format.left;
        anyCut = anyCut || cut[i];
    }
    SelectObject(dc, oldFont);
    ReleaseDC(column_, dc);

    // The layout's rectangle; with the scroll bar, as much taller as keeps every line above it.
    RECT frame{layout_.x, layout_.y, layout_.x + layout_.width, layout_.y + layout_.height};
    MapDialogRect(dialog_, &frame);
    ShowScrollBar(column_, SB_HORZ, anyCut);
    int height = frame.bottom - frame.top;
    if (anyCut) {
        RECT window, client;
        GetWindowRect(column_, &window);
        GetClientRect(column_, &client);
        const int needed = static_cast<int>(lines.size() * metrics.tmHeight +
                                            (window.bottom - window.top) - client.bottom);
        if (needed > height)
            height =
                std::min(needed, RoomBelow(dialog_, column_, frame) - static_cast<int>(frame.top));
    }
    SetWindowPos(column_, nullptr, frame.left, frame.top, frame.right - frame.left, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    if (tooltip_ == nullptr && anyCut) {
        tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   dialog_, nullptr, nullptr, nullptr);
    }
    if (tooltip_ == nullptr) return;
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = column_;
    for (tool.uId = 0; tool.uId < static_cast<UINT_PTR>(tools_); ++tool.uId)
        SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    tools_ = 0;
    RECT client;
    GetClientRect(column_, &client);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!cut[i]) continue;
        tool.uFlags = TTF_SUBCLASS;
        tool.uId = i;
        const int top = format.top + static_cast<int>(i) * metrics.tmHeight;
        tool.rect = {client.left, top, client.right, top + metrics.tmHeight};
        tool.lpszText = const_cast<char*>(lines[i].c_str());  // copied by the tooltip
        SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        tools_ = static_cast<int>(i) + 1;
    }
}

}  // namespace usbwiz
