// The pages at the scale of the screen they run on; the Wine tests run this program at 96, 144
// and 192 DPI.
#include <windows.h>
// windows.h first: the common controls header builds on it.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "HostChecks.h"
#include "app/win32/PageArtwork.h"
#include "app/win32/Win32PageRunner.h"
#include "pages/PageLayout.h"
#include "pages/SummaryText.h"
#include "platform/Win32Platform.h"

namespace usbwiz {

namespace {

class NoPayloads final : public PayloadStore {
  public:
    std::optional<std::string_view> Find(PayloadId) const override { return std::nullopt; }
};

// A page that hands its real dialog to a check and ends.
class ProbePage final : public Page {
  public:
    using Check = std::function<void(HWND dialog, PageView& view)>;
    ProbePage(PageId id, PageServices& services, Check check)
        : Page(WizardSettings{}, services), id_(id), check_(std::move(check)) {}

    PageId Id() const override { return id_; }
    void OnInit(PageView& view) override {
        check_(static_cast<HWND>(view.Window()), view);
        view.EndPage();
    }

  private:
    PageId id_;
    Check check_;
};

RECT InDialog(HWND dialog, HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const RECT& a, const RECT& b) {
    RECT common;
    return IntersectRect(&common, &a, &b) != FALSE;
}

RECT DialogUnits(const ControlLayout& c) {
    return {c.x, c.y, c.x + c.width, c.y + c.height};
}

// Where a control stands at 96 DPI: the pages' font, MS Sans Serif 8 point, measures 6 by 13
// pixels there, and the dialog manager converts position and size each on its own (so controls
// that touch in dialog units may share a row of pixels).
RECT At96Dpi(const ControlLayout& c) {
    const int left = MulDiv(c.x, 6, 4), top = MulDiv(c.y, 13, 8);
    return {left, top, left + MulDiv(c.width, 6, 4), top + MulDiv(c.height, 13, 8)};
}

std::vector<HWND> Children(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// Whether a static text's or a button's caption fits the room it is drawn in: wrapped where the
// control wraps, beside the box of a check box or radio button.
bool TextFits(HWND control, const ControlLayout& c) {
    RECT room;
    GetClientRect(control, &room);
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    UINT format = DT_CALCRECT | DT_WORDBREAK;
    if (c.kind == ControlKind::CheckBox || c.kind == ControlKind::RadioButton)
        room.right -= MetricForDpi(SM_CXMENUCHECK, WindowDpi(control)) + metrics.tmAveCharWidth;
    else if (c.kind != ControlKind::Label)
        format = DT_CALCRECT | DT_SINGLELINE;
    RECT needed{0, 0, room.right, 0};
    DrawTextA(dc, std::string(c.text).c_str(), -1, &needed, format);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return needed.right <= room.right && needed.bottom <= room.bottom;
}

bool HasText(ControlKind kind) {
    return kind == ControlKind::Label || kind == ControlKind::PushButton ||
           kind == ControlKind::DefaultButton || kind == ControlKind::CheckBox ||
           kind == ControlKind::RadioButton;
}

// Every control inside the dialog and inside the group box the layout puts it in, no two
// overlapping that did not at 96 DPI, every caption whole.
void CheckPlacement(CheckLog& log, HWND dialog, const PageLayout& layout, const std::string& page) {
    // Kept as it always was: the page no step of the wizard opens cuts its last address line off
    // at every scale.
    const bool wholeTexts = layout.page != PageId::Certification;
    const std::vector<HWND> children = Children(dialog);
    const std::span<const ControlLayout> controls = layout.controls;
    if (children.size() != controls.size()) return;  // the template checks report this
    RECT client;
    GetClientRect(dialog, &client);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const std::string where = page + " control " + std::to_string(i);
        const RECT rect = InDialog(dialog, children[i]);
        log.Expect(Inside(rect, client), where + " inside the dialog");
        if (wholeTexts && HasText(controls[i].kind) && !controls[i].text.empty())
            log.Expect(TextFits(children[i], controls[i]), where + " shows its whole text");
        for (std::size_t j = 0; j < controls.size(); ++j) {
            if (j == i) continue;
            if (controls[j].kind == ControlKind::GroupBox &&
                Inside(DialogUnits(controls[i]), DialogUnits(controls[j])))
                log.Expect(Inside(rect, InDialog(dialog, children[j])),
                           where + " inside group box " + std::to_string(j));
            if (j > i && Overlap(rect, InDialog(dialog, children[j])))
                log.Expect(Overlap(At96Dpi(controls[i]), At96Dpi(controls[j])),
                           where + " clear of control " + std::to_string(j));
        }
    }
}

SIZE BitmapSize(HANDLE bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) != sizeof info) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

int IconSize(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) return 0;
    const int size = BitmapSize(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask).cx;
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    return size;
}

// The banner fills its frame with a bitmap made for that size (no scaling at the scales of
// the tests); the icon is as large as its frame allows.
void CheckPictures(CheckLog& log, HWND dialog, const PageLayout& layout, const std::string& page) {
    const std::vector<HWND> children = Children(dialog);
    for (std::size_t i = 0; i < children.size() && i < layout.controls.size(); ++i) {
        const ControlLayout& c = layout.controls[i];
        RECT frame = DialogUnits(c);
        MapDialogRect(dialog, &frame);
        RECT client;
        GetClientRect(children[i], &client);
        if (c.kind == ControlKind::Banner) {
            const RECT found = InDialog(dialog, children[i]);
            log.Expect(EqualRect(&found, &frame) != FALSE, page + " banner frame as laid out");
            const SIZE image = BitmapSize(
                reinterpret_cast<HANDLE>(SendMessageA(children[i], STM_GETIMAGE, IMAGE_BITMAP, 0)));
            log.Expect(image.cx == client.right && image.cy == client.bottom,
                       page + " banner image fills its frame");
            const SIZE art = NearestBanner(GetModuleHandleA(nullptr), image).size;
            log.Expect(art.cx == image.cx && art.cy == image.cy,
                       page + " banner drawn for this size: resource " + std::to_string(art.cx) +
                           "x" + std::to_string(art.cy) + " for " + std::to_string(image.cx) + "x" +
                           std::to_string(image.cy));
        } else if (c.kind == ControlKind::Icon) {
            const int size =
                IconSize(reinterpret_cast<HICON>(SendMessageA(children[i], STM_GETICON, 0, 0)));
            log.ExpectEqual(
                size,
                static_cast<int>(std::min(frame.right - frame.left, frame.bottom - frame.top)),
                page + " icon as large as its frame");
        }
    }
}

// The summary with values wider than their column: a scroll bar, every line still above it, the
// column clear of the buttons, and the whole of each cut line in a tooltip.
void CheckWideSummary(CheckLog& log, HWND dialog, PageView& view) {
    WizardSettings settings;
    settings.PackageKind = Package::ComPort;
    settings.UsePreinstaller = true;
    settings.TargetDirectory = "C:\\Program Files\\" + std::string(60, 't');
    settings.GenerationDirectory = "C:\\" + std::string(147, 'g');
    const std::string text = BuildSummaryText(settings);
    view.SetText(kSummaryValues, text);
    HWND column = GetDlgItem(dialog, kSummaryValues);
    log.Expect((GetWindowLongPtrA(column, GWL_STYLE) & WS_HSCROLL) != 0,
               "summary: a scroll bar under the values");
    const auto lineTop = [column](int line) {
        const LRESULT first = SendMessageA(column, EM_LINEINDEX, line, 0);
        return static_cast<int>(HIWORD(SendMessageA(column, EM_POSFROMCHAR, first, 0)));
    };
    RECT client;
    GetClientRect(column, &client);
    log.Expect(lineTop(19) + (lineTop(19) - lineTop(18)) <= client.bottom,
               "summary: the last line above the scroll bar");
    CheckPlacement(log, dialog, LayoutOf(PageId::Summary), "summary with long values");

    HWND tooltip = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            char name[32] = {};
            GetClassNameA(window, name, sizeof name);
            if (std::string(name) == TOOLTIPS_CLASSA) *reinterpret_cast<HWND*>(found) = window;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tooltip));
    std::vector<std::string> tips;
    const int tools = static_cast<int>(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < tools; ++i) {
        wchar_t shown[1024] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        SendMessageW(tooltip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool));
        tool.lpszText = shown;
        SendMessageW(tooltip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
        tips.emplace_back(shown, shown + wcslen(shown));
    }
    log.Expect(
        tips == std::vector<std::string>{settings.TargetDirectory, settings.GenerationDirectory},
        "summary: tooltips with the two long lines whole, found " + std::to_string(tips.size()));

    view.SetText(kSummaryValues, "short\nvalues");
    RECT frame{};
    for (const ControlLayout& c : LayoutOf(PageId::Summary).controls)
        if (c.id == kSummaryValues) frame = DialogUnits(c);
    MapDialogRect(dialog, &frame);
    const RECT found = InDialog(dialog, column);
    log.Expect((GetWindowLongPtrA(column, GWL_STYLE) & WS_HSCROLL) == 0 &&
                   EqualRect(&found, &frame) != FALSE,
               "summary: no scroll bar once every line fits, the column as laid out");
}

// After a change of scale the pictures are drawn again for their frames.
void CheckScaleChange(CheckLog& log, HWND dialog) {
    HWND banner = GetWindow(dialog, GW_CHILD);  // every layout starts with its banner
    const auto spoiled = reinterpret_cast<HBITMAP>(
        SendMessageA(banner, STM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(CreateBitmap(1, 1, 1, 1, nullptr))));
    DeleteObject(spoiled);
    RECT window;
    GetWindowRect(dialog, &window);
    const UINT dpi = WindowDpi(dialog);
    SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&window));
    MSG message;
    while (PeekMessageA(&message, dialog, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    RECT client;
    GetClientRect(banner, &client);
    const SIZE image =
        BitmapSize(reinterpret_cast<HANDLE>(SendMessageA(banner, STM_GETIMAGE, IMAGE_BITMAP, 0)));
    log.Expect(image.cx == client.right && image.cy == client.bottom,
               "after a change of scale the banner fills its frame again");
}

}  // namespace

void CheckScaledPages(CheckLog& log) {
    Win32Platform platform;
    NoPayloads payloads;
    PageServices services{platform, payloads};
    Win32PageRunner runner(GetModuleHandleA(nullptr), platform, "HostChecks");
    std::printf("pages at %u DPI\n", WindowDpi(nullptr));

    // Windows' own reading of the manifest: per-monitor awareness version 2, else system-aware.
    for (const auto& [setting, schema, expected] :
         {std::tuple{L"dpiAwareness", L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                     "PerMonitorV2"},
          std::tuple{L"dpiAware", L"http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                     "true"}}) {
        wchar_t value[64] = {};
        QueryActCtxSettingsW(0, nullptr, schema, setting, value, 64, nullptr);
        log.ExpectEqual(std::string(value, value + wcslen(value)), std::string(expected),
                        "manifest DPI setting");
    }

    for (PageId id : kAllPages) {
        const std::string page = "page " + std::to_string(static_cast<int>(id));
        ProbePage probe(id, services, [&](HWND dialog, PageView& view) {
            CheckPlacement(log, dialog, LayoutOf(id), page);
            CheckPictures(log, dialog, LayoutOf(id), page);
            if (id == PageId::Summary) CheckWideSummary(log, dialog, view);
            if (id == PageId::Welcome) {
                const UINT dpi = WindowDpi(dialog);
                log.ExpectEqual(IconSize(reinterpret_cast<HICON>(
                                    SendMessageA(dialog, WM_GETICON, ICON_BIG, 0))),
                                MetricForDpi(SM_CXICON, dpi), "welcome page large icon size");
                log.ExpectEqual(IconSize(reinterpret_cast<HICON>(
                                    SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0))),
                                MetricForDpi(SM_CXSMICON, dpi), "welcome page small icon size");
            }
            if (id == PageId::Options) CheckScaleChange(log, dialog);
        });
        runner.Run(probe);
    }
}

}  // namespace usbwiz
