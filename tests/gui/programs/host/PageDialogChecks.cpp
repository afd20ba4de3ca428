#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "HostChecks.h"
#include "app/win32/PageArtwork.h"
#include "app/win32/Win32PageRunner.h"
#include "generate/SummaryText.h"
#include "pages/PageLayout.h"
#include "platform/Win32Platform.h"

namespace usbwiz {

namespace {

class NoPayloads final : public PayloadStore {
  public:
    std::optional<std::string_view> Find(PayloadId) const override { return std::nullopt; }
};

// The one dialog of this thread: the page being run.
HWND PageWindow() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            if (std::string(name) != "#32770") return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Input a case sends to the running page, as a user would.
constexpr int kFocusedControl = -1;
struct Input {
    int controlId;  // 0: the dialog itself; kFocusedControl: whatever has the focus by then
    UINT message;
    WPARAM wParam;
    int notification = -1;  // WM_COMMAND: the notification, sent from `controlId`
};

class RecordingPage final : public Page {
  public:
    using InitHook = std::function<void(HWND dialog, PageView& view)>;

    RecordingPage(PageId id, PageServices& services, InitHook onInit, int throwOnCommand = 0)
        : Page(WizardSettings{}, services),
          id_(id),
          onInit_(std::move(onInit)),
          throwOnCommand_(throwOnCommand) {}

    PageId Id() const override { return id_; }
    void OnInit(PageView& view) override {
        dialog_ = PageWindow();
        if (onInit_) onInit_(dialog_, view);
    }
    void OnCommand(PageView&, int controlId) override {
        events_.push_back("command " + std::to_string(controlId));
        if (controlId == throwOnCommand_) throw std::runtime_error("page fault");
    }
    void OnCancel(PageView& view) override {
        events_.push_back("cancel");
        Page::OnCancel(view);
    }

    HWND Dialog() const { return dialog_; }
    const std::vector<std::string>& Events() const { return events_; }

  private:
    PageId id_;
    InitHook onInit_;
    int throwOnCommand_;
    HWND dialog_ = nullptr;
    std::vector<std::string> events_;
};

void Post(HWND dialog, const Input& input) {
    HWND target = input.controlId == 0                 ? dialog
                  : input.controlId == kFocusedControl ? GetFocus()
                                                       : GetDlgItem(dialog, input.controlId);
    if (input.message == WM_COMMAND)
        PostMessageA(dialog, WM_COMMAND,
                     MAKEWPARAM(input.controlId, static_cast<WORD>(input.notification)),
                     reinterpret_cast<LPARAM>(target));
    else
        PostMessageA(target, input.message, input.wParam, 0);
}

// The input goes out from a thread timer once the page's modal loop runs, when the dialog has
// given the initial focus; a second timer ends a page that never ends by itself, so a broken
// routing fails instead of hanging.
struct PendingInput {
    HWND dialog = nullptr;
    std::vector<Input> inputs;
    UINT_PTR deliveryTimer = 0;
    int focusAtStart = 0;  // the id of the control that had the focus when the input went out
    bool watchdogFired = false;
};
PendingInput g_pending;

void CALLBACK DeliverInput(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    g_pending.focusAtStart = GetDlgCtrlID(GetFocus());
    for (const Input& input : g_pending.inputs) Post(g_pending.dialog, input);
}

void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
    g_pending.watchdogFired = true;
    if (IsWindow(g_pending.dialog)) EndDialog(g_pending.dialog, 0);
}

// Runs the page, sending `inputs` once it is up; answers whether the page ended by itself.
bool RunWithInput(Win32PageRunner& runner, RecordingPage& page, std::vector<Input> inputs) {
    g_pending = PendingInput{};
    g_pending.inputs = std::move(inputs);
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 10000, Watchdog);
    try {
        runner.Run(page);
    } catch (...) {
        KillTimer(nullptr, watchdog);
        throw;
    }
    KillTimer(nullptr, watchdog);
    return !g_pending.watchdogFired;
}

// A page initialisation that hands the dialog to the pending input and starts its delivery.
void ArmInput(HWND dialog) {
    g_pending.dialog = dialog;
    g_pending.deliveryTimer = SetTimer(nullptr, 0, 1, DeliverInput);
}

struct RoutingCase {
    const char* name;
    PageId page;
    int focus;          // the control the page gives the focus to, 0 for none
    int expectedFocus;  // the control that has the focus once the page is up
    std::vector<Input> inputs;
    std::vector<std::string> expected;
};

std::string Joined(const std::vector<std::string>& events) {
    std::string out;
    for (const std::string& e : events) out += (out.empty() ? "" : ", ") + e;
    return "[" + out + "]";
}

void RunRoutingCase(CheckLog& log, Win32PageRunner& runner, PageServices& services,
                    const RoutingCase& c) {
    RecordingPage page(c.page, services, [&](HWND dialog, PageView& view) {
        if (c.focus != 0) view.SetFocus(c.focus);
        ArmInput(dialog);
    });
    bool ended = false;
    try {
        ended = RunWithInput(runner, page, c.inputs);
    } catch (const std::exception& failure) {
        log.Expect(false, std::string(c.name) + ": the page fails with: " + failure.what());
        return;
    }
    log.Expect(ended, std::string(c.name) + ": the page ended by itself");
    log.ExpectEqual(g_pending.focusAtStart, c.expectedFocus,
                    std::string(c.name) + ": the focus when the page is up");
    log.ExpectEqual(Joined(page.Events()), Joined(c.expected), c.name);
    log.Expect(!IsWindow(page.Dialog()), std::string(c.name) + ": the dialog is gone");
}

const Input kCancelCommand{IDCANCEL, WM_COMMAND, 0, BN_CLICKED};

const Input kEnter{kFocusedControl, WM_KEYDOWN, VK_RETURN};
const Input kEscape{kFocusedControl, WM_KEYDOWN, VK_ESCAPE};

// Without a choice of the page, the focus goes to the first tab stop unless that is a push
// button other than the default one: Enter must press the default button.
std::vector<RoutingCase> RoutingCases() {
    return {
        {"a click reaches the page; an edit's notification does not",
         PageId::ComNames,
         0,
         kUninstallNameEdit,
         {{kUninstallNameEdit, WM_COMMAND, 0, EN_CHANGE},
          {kBackButton, WM_COMMAND, 0, BN_CLICKED},
          kCancelCommand},
         {"command 1007", "cancel"}},
        {"Enter in an edit presses Next",
         PageId::ComNames,
         kShortNameEdit,
         kShortNameEdit,
         {kEnter, kCancelCommand},
         {"command 1006", "cancel"}},
        {"Enter on the welcome page presses its Next (kWelcomeNextButton)",
         PageId::Welcome,
         0,
         kComPortKindButton,
         {kEnter, kCancelCommand},
         {"command 1000", "cancel"}},
        {"Enter on the warning page presses Next, not the first button, Cancel",
         PageId::Warning,
         0,
         kWelcomeNextButton,
         {kEnter, kCancelCommand},
         {"command 1000", "cancel"}},
        {"Enter on the options page presses Next, not a help button",
         PageId::Options,
         0,
         kNextButton,
         {kEnter, kCancelCommand},
         {"command 1006", "cancel"}},
        {"Enter on the summary page presses Finish",
         PageId::Summary,
         0,
         kNextButton,
         {kEnter, kCancelCommand},
         {"command 1006", "cancel"}},
        {"Enter in the output directory presses Next",
         PageId::OutputDirectory,
         0,
         kOutputDirectoryEdit,
         {kEnter, kCancelCommand},
         {"command 1006", "cancel"}},
        {"IDOK from the dialog manager is the default button",
         PageId::Warning,
         0,
         kWelcomeNextButton,
         {{IDOK, WM_COMMAND, 0, BN_CLICKED}, kCancelCommand},
         {"command 1000", "cancel"}},
        {"Esc cancels", PageId::ComIds, kVidEdit, kVidEdit, {kEscape}, {"cancel"}},
        {"the close box cancels",
         PageId::Options,
         0,
         kNextButton,
         {{0, WM_SYSCOMMAND, SC_CLOSE}},
         {"cancel"}},
        {"Cancel is an ordinary click for the page",
         PageId::OutputDirectory,
         0,
         kOutputDirectoryEdit,
         {{kCancelButton, WM_COMMAND, 0, BN_CLICKED}, kCancelCommand},
         {"command 1024", "cancel"}},
    };
}

// Tab visits a page's tab stops in the order of its layout (which reads as the page does) and
// comes back to the first.
void CheckTabOrder(CheckLog& log, Win32PageRunner& runner, PageServices& services) {
    for (PageId id : kAllPages) {
        std::vector<std::string> expected, visited;
        for (const ControlLayout& control : LayoutOf(id).controls)
            if (IsTabStop(control) && !control.hidden)
                expected.push_back(std::to_string(control.id));
        RecordingPage page(id, services, [&visited](HWND dialog, PageView& view) {
            HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
            HWND control = first;
            do {
                visited.push_back(std::to_string(GetDlgCtrlID(control)));
                control = GetNextDlgTabItem(dialog, control, FALSE);
            } while (control != nullptr && control != first && visited.size() < 64);
            view.EndPage();
        });
        runner.Run(page);
        log.ExpectEqual(Joined(visited), Joined(expected),
                        "tab order of page " + std::to_string(static_cast<int>(id)));
    }
}

// The frame every page gets before its own initialisation runs.
void CheckFrame(CheckLog& log, Win32PageRunner& runner, PageServices& services) {
    for (PageId id : {PageId::Welcome, PageId::ComNames, PageId::Summary}) {
        const std::string where = "page " + std::to_string(static_cast<int>(id));
        RecordingPage page(id, services, [&](HWND dialog, PageView& view) {
            log.Expect((GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0,
                       where + " has its own taskbar button");
            if (id == PageId::ComNames)
                log.ExpectEqual(static_cast<int>(SendDlgItemMessageA(dialog, kUninstallNameEdit,
                                                                     EM_GETLIMITTEXT, 0, 0)),
                                8, where + " uninstall name limit");
            if (id == PageId::Welcome) {
                const auto big = SendMessageA(dialog, WM_GETICON, ICON_BIG, 0);
                const auto small = SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0);
                log.Expect(big != 0 && small != 0 && big != small,
                           where + " has a large and a small icon");
                ICONINFO info{};
                BITMAP mask{};
                if (small != 0 && GetIconInfo(reinterpret_cast<HICON>(small), &info)) {
                    GetObjectA(info.hbmMask, sizeof mask, &mask);
                    DeleteObject(info.hbmMask);
                    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
                }
                log.ExpectEqual(static_cast<int>(mask.bmWidth), GetSystemMetrics(SM_CXSMICON),
                                where + " small icon width");
                log.ExpectEqual(SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0), big,
                                where + " drag icon is the large icon");
            }
            view.EndPage();
        });
        runner.Run(page);
    }
}

// The view over a real dialog, on the summary and options pages.
void CheckView(CheckLog& log, Win32PageRunner& runner, PageServices& services) {
    RecordingPage summary(PageId::Summary, services, [&](HWND dialog, PageView& view) {
        log.Expect(view.Window() == dialog, "the view's window is the page's dialog");
        view.SetText(kSummaryValues, "one\ntwo\r\nthree");
        char raw[64] = {};
        GetDlgItemTextA(dialog, kSummaryValues, raw, sizeof raw);
        log.ExpectEqual(std::string(raw), std::string("one\r\ntwo\r\nthree"),
                        "value column gets CR LF line breaks");
        view.SetText(kSummaryLabels, "label\nlines");
        log.ExpectEqual(view.GetText(kSummaryLabels), std::string("label\nlines"),
                        "label column keeps its line feeds");
        view.SetText(kSummaryLabels, std::string(3000, 'w'));
        log.ExpectEqual(view.GetText(kSummaryLabels).size(), std::size_t{3000},
                        "a long text reads back");
        view.SetText(kSummaryLabels, "");
        log.ExpectEqual(view.GetText(kSummaryLabels), std::string(), "an empty text reads back");
        view.SetVisible(kBackButton, false);
        log.Expect(!view.IsVisible(kBackButton), "a hidden control reads as hidden");
        view.SetVisible(kBackButton, true);
        log.Expect(view.IsVisible(kBackButton),
                   "a shown control reads as visible while its page is not shown yet");
        bool refused = false;
        try {
            view.GetText(4242);
        } catch (const std::logic_error&) {
            refused = true;
        }
        log.Expect(refused, "asking for a control the page does not have throws");
        view.EndPage();
    });
    runner.Run(summary);

    RecordingPage options(PageId::Options, services, [&](HWND, PageView& view) {
        log.Expect(!view.IsVisible(kLeaveFilesBox), "a control created hidden reads as hidden");
        view.SetChecked(kUsePreinstallerBox, true);
        log.Expect(view.IsChecked(kUsePreinstallerBox), "a checked box reads as checked");
        view.SetChecked(kUsePreinstallerBox, false);
        log.Expect(!view.IsChecked(kUsePreinstallerBox), "a cleared box reads as cleared");
        view.EndPage();
    });
    runner.Run(options);
}

// No exception crosses Windows: it ends the page and comes out of Run.
void CheckFailures(CheckLog& log, Win32PageRunner& runner, PageServices& services) {
    RecordingPage throwing(
        PageId::ComNames, services, [](HWND dialog, PageView&) { ArmInput(dialog); }, kNextButton);
    std::string caught;
    try {
        RunWithInput(runner, throwing, {{kNextButton, WM_COMMAND, 0, BN_CLICKED}});
    } catch (const std::runtime_error& failure) {
        caught = failure.what();
    }
    log.ExpectEqual(caught, std::string("page fault"), "a handler's exception comes out of Run");
    log.Expect(!g_pending.watchdogFired, "the exception ended the page");
    log.Expect(!IsWindow(throwing.Dialog()), "the failed page's dialog is gone");

    RecordingPage unknownControl(PageId::Warning, services,
                                 [](HWND, PageView& view) { view.GetText(4242); });
    bool logicError = false;
    try {
        runner.Run(unknownControl);
    } catch (const std::logic_error&) {
        logicError = true;
    }
    log.Expect(logicError, "an initialisation that asks for a missing control fails the run");
}

// The pages at the screen's scale follow; the Wine tests run this program at 96, 144 and 192 DPI.

RECT Pixels(HWND dialog, const ControlLayout& c) {
    RECT rect{c.x, c.y, c.x + c.width, c.y + c.height};
    MapDialogRect(dialog, &rect);
    return rect;
}

bool Inside(const RECT& inner, const RECT& outer) {
    RECT both;
    return IntersectRect(&both, &inner, &outer) && EqualRect(&both, &inner);
}

// Where a control stands at 96 DPI, where the pages' font measures 6 by 13 pixels: the dialog
// manager converts position and size apart, so controls touching in dialog units may share a
// row of pixels.
RECT At96Dpi(const ControlLayout& c) {
    const int left = MulDiv(c.x, 6, 4), top = MulDiv(c.y, 13, 8);
    return {left, top, left + MulDiv(c.width, 6, 4), top + MulDiv(c.height, 13, 8)};
}

// Whether a caption fits where the control draws it: wrapped in a static text, beside the box
// of a check box or radio button (wrapped when multi-line), on one line in a push button.
bool TextFits(HWND control, const ControlLayout& c) {
    RECT room;
    GetClientRect(control, &room);
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    TEXTMETRICA font{};
    GetTextMetricsA(dc, &font);
    const bool boxed = c.kind == ControlKind::CheckBox || c.kind == ControlKind::RadioButton;
    if (boxed) room.right -= MetricForDpi(SM_CXMENUCHECK, WindowDpi(control)) + font.tmAveCharWidth;
    RECT needed{0, 0, room.right, 0};
    const bool wraps = c.kind == ControlKind::Label || (boxed && c.multiline);
    DrawTextA(dc, std::string(c.text).c_str(), -1, &needed,
              DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return needed.right <= room.right && needed.bottom <= room.bottom;
}

// Every control inside the dialog and inside the group box the layout puts it in, none
// overlapping another that it does not overlap at 96 DPI, every caption whole.
void CheckPlacement(CheckLog& log, HWND dialog, const PageLayout& layout) {
    const std::vector<HWND> children = ChildrenInCreationOrder(dialog);
    const std::span<const ControlLayout> controls = layout.controls;
    if (children.size() != controls.size()) return;  // the template checks say so
    // Kept as it always was: the page no step of the wizard opens cuts its last address line
    // off at every scale.
    const bool wholeTexts = layout.page != PageId::Certification;
    RECT client;
    GetClientRect(dialog, &client);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlLayout& c = controls[i];
        const std::string where = "page " + std::to_string(static_cast<int>(layout.page)) +
                                  " control " + std::to_string(i);
        const RECT rect = RectInDialog(dialog, children[i]);
        log.Expect(Inside(rect, client), where + " inside the dialog");
        if (wholeTexts && !c.text.empty() && c.kind != ControlKind::Edit &&
            c.kind != ControlKind::ReadOnlyText && c.kind != ControlKind::GroupBox)
            log.Expect(TextFits(children[i], c), where + " shows its whole text");
        for (std::size_t j = 0; j < controls.size(); ++j) {
            const RECT other = RectInDialog(dialog, children[j]);
            RECT common;
            if (controls[j].kind == ControlKind::GroupBox && j != i &&
                Inside(Pixels(dialog, c), Pixels(dialog, controls[j])))
                log.Expect(Inside(rect, other), where + " inside group box " + std::to_string(j));
            const RECT a = At96Dpi(c), b = At96Dpi(controls[j]);
            if (j > i && IntersectRect(&common, &rect, &other))
                log.Expect(IntersectRect(&common, &a, &b),
                           where + " clear of " + std::to_string(j));
        }
    }
}

SIZE BitmapSize(HGDIOBJ bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) != sizeof info) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

LONG IconSize(LRESULT icon) {
    ICONINFO info{};
    if (icon == 0 || !GetIconInfo(reinterpret_cast<HICON>(icon), &info)) return 0;
    DeleteObject(info.hbmColor);
    const LONG size = BitmapSize(info.hbmMask).cx;
    DeleteObject(info.hbmMask);
    return size;
}

// The banner's frame as laid out and filled by a bitmap made for its size (at the tests' scales
// none is scaled); the icon as large as its frame allows; the window icons of the window's scale.
void CheckPictures(CheckLog& log, HWND dialog, const PageLayout& layout) {
    const std::string page = "page " + std::to_string(static_cast<int>(layout.page));
    const std::vector<HWND> children = ChildrenInCreationOrder(dialog);
    for (std::size_t i = 0; i < children.size() && i < layout.controls.size(); ++i) {
        const RECT frame = Pixels(dialog, layout.controls[i]);
        if (layout.controls[i].kind == ControlKind::Banner) {
            const RECT found = RectInDialog(dialog, children[i]);
            RECT client;
            GetClientRect(children[i], &client);
            const SIZE image = BitmapSize(reinterpret_cast<HGDIOBJ>(
                SendMessageA(children[i], STM_GETIMAGE, IMAGE_BITMAP, 0)));
            const SIZE made = NearestBanner(GetModuleHandleA(nullptr), image).size;
            log.Expect(EqualRect(&found, &frame) && image.cx == client.right &&
                           image.cy == client.bottom && made.cx == image.cx && made.cy == image.cy,
                       page + " banner: frame as laid out, filled by " + std::to_string(image.cx) +
                           "x" + std::to_string(image.cy) + " drawn for " +
                           std::to_string(made.cx) + "x" + std::to_string(made.cy));
        } else if (layout.controls[i].kind == ControlKind::Icon) {
            const UINT dpi = WindowDpi(dialog);
            log.ExpectEqual(IconSize(SendMessageA(children[i], STM_GETICON, 0, 0)),
                            std::min(frame.right - frame.left, frame.bottom - frame.top),
                            page + " icon as large as its frame");
            log.ExpectEqual(IconSize(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0)) * 100 +
                                IconSize(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0)),
                            static_cast<LONG>(MetricForDpi(SM_CXICON, dpi) * 100 +
                                              MetricForDpi(SM_CXSMICON, dpi)),
                            page + " window icons (large * 100 + small)");
        }
    }
}

// Values wider than the summary's column: a scroll bar, every line above it, the column clear
// of the buttons; once they fit again, the column as laid out.
void CheckWideSummary(CheckLog& log, HWND dialog, PageView& view) {
    WizardSettings settings;
    settings.PackageKind = Package::ComPort;
    settings.GenerationDirectory = "C:\\" + std::string(147, 'g');
    view.SetText(kSummaryValues, BuildSummaryText(settings));
    HWND column = GetDlgItem(dialog, kSummaryValues);
    const auto lineTop = [column](int line) {
        const LRESULT first = SendMessageA(column, EM_LINEINDEX, line, 0);
        return static_cast<int>(HIWORD(SendMessageA(column, EM_POSFROMCHAR, first, 0)));
    };
    RECT client;
    GetClientRect(column, &client);
    log.Expect((GetWindowLongPtrA(column, GWL_STYLE) & WS_HSCROLL) != 0 &&
                   2 * lineTop(19) - lineTop(18) <= client.bottom,
               "summary: a scroll bar under the values, the last line above it");
    CheckPlacement(log, dialog, LayoutOf(PageId::Summary));

    view.SetText(kSummaryValues, "short\nvalues");
    const RECT found = RectInDialog(dialog, column);
    const RECT frame = Pixels(dialog, LayoutOf(PageId::Summary).controls[2]);  // the values
    log.Expect(
        (GetWindowLongPtrA(column, GWL_STYLE) & WS_HSCROLL) == 0 && EqualRect(&found, &frame),
        "summary: no scroll bar once every line fits, the column as laid out");
}

// After a change of scale the banner is drawn again for its frame.
void CheckScaleChange(CheckLog& log, HWND dialog) {
    HWND banner = GetWindow(dialog, GW_CHILD);  // every layout starts with its banner
    DeleteObject(reinterpret_cast<HGDIOBJ>(
        SendMessageA(banner, STM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(CreateBitmap(1, 1, 1, 1, nullptr)))));
    RECT window, client;
    GetWindowRect(dialog, &window);
    const UINT dpi = WindowDpi(dialog);
    SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&window));
    MSG message;
    while (PeekMessageA(&message, dialog, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    GetClientRect(banner, &client);
    const SIZE image =
        BitmapSize(reinterpret_cast<HGDIOBJ>(SendMessageA(banner, STM_GETIMAGE, IMAGE_BITMAP, 0)));
    log.Expect(image.cx == client.right && image.cy == client.bottom,
               "after a change of scale the banner fills its frame again");
}

void CheckScaledPages(CheckLog& log, Win32PageRunner& runner, PageServices& services) {
    std::printf("pages at %u DPI\n", WindowDpi(nullptr));
    // Windows' own reading of the manifest: per-monitor awareness version 2, else system-aware.
    wchar_t awareness[32] = {}, aware[32] = {};
    QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                         L"dpiAwareness", awareness, 32, nullptr);
    QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                         L"dpiAware", aware, 32, nullptr);
    log.Expect(std::wcscmp(awareness, L"PerMonitorV2") == 0 && std::wcscmp(aware, L"true") == 0,
               "the manifest asks for per-monitor awareness version 2, else system awareness");
    // A frame no banner was drawn for gets the nearest one scaled, not a blank.
    HBITMAP scaled = BannerBitmap(GetModuleHandleA(nullptr), {61, 333});
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, scaled);
    log.Expect(BitmapSize(scaled).cx == 61 && BitmapSize(scaled).cy == 333 &&
                   GetPixel(dc, 30, 160) != RGB(0, 0, 0),
               "a banner scaled for a frame of 61 by 333 pixels");
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(scaled);
    for (PageId id : kAllPages) {
        RecordingPage page(id, services, [&](HWND dialog, PageView& view) {
            CheckPlacement(log, dialog, LayoutOf(id));
            CheckPictures(log, dialog, LayoutOf(id));
            if (id == PageId::Summary) CheckWideSummary(log, dialog, view);
            if (id == PageId::Options) CheckScaleChange(log, dialog);
            view.EndPage();
        });
        runner.Run(page);
    }
}

}  // namespace

void CheckPageDialogs(CheckLog& log) {
    Win32Platform platform;
    NoPayloads payloads;
    PageServices services{platform, payloads};
    Win32PageRunner runner(GetModuleHandleA(nullptr), platform, "HostChecks");

    for (const RoutingCase& c : RoutingCases()) RunRoutingCase(log, runner, services, c);
    CheckTabOrder(log, runner, services);
    CheckFrame(log, runner, services);
    CheckView(log, runner, services);
    CheckFailures(log, runner, services);
    CheckScaledPages(log, runner, services);
}

}  // namespace usbwiz
