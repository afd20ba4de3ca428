#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "HostChecks.h"
#include "app/win32/Win32PageRunner.h"
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
    std::function<void(HWND dialog)> whenUp;  // runs before the input goes out
    UINT_PTR deliveryTimer = 0;
    int focusAtStart = 0;  // the id of the control that had the focus when the input went out
    bool watchdogFired = false;
};
PendingInput g_pending;

void CALLBACK DeliverInput(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    g_pending.focusAtStart = GetDlgCtrlID(GetFocus());
    if (g_pending.whenUp) g_pending.whenUp(g_pending.dialog);
    for (const Input& input : g_pending.inputs) Post(g_pending.dialog, input);
}

void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
    g_pending.watchdogFired = true;
    if (IsWindow(g_pending.dialog)) EndDialog(g_pending.dialog, 0);
}

// Runs the page, sending `inputs` once it is up; answers whether the page ended by itself.
bool RunWithInput(Win32PageRunner& runner, RecordingPage& page, std::vector<Input> inputs,
                  std::function<void(HWND dialog)> whenUp = nullptr) {
    g_pending = PendingInput{};
    g_pending.inputs = std::move(inputs);
    g_pending.whenUp = std::move(whenUp);
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
        std::vector<int> expected;
        for (const ControlLayout& control : LayoutOf(id).controls)
            if (IsTabStop(control) && !control.hidden) expected.push_back(control.id);
        std::vector<int> visited;
        RecordingPage page(id, services, [](HWND dialog, PageView&) { ArmInput(dialog); });
        RunWithInput(runner, page, {kCancelCommand}, [&visited](HWND dialog) {
            HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
            HWND control = first;
            do {
                visited.push_back(GetDlgCtrlID(control));
                control = GetNextDlgTabItem(dialog, control, FALSE);
            } while (control != nullptr && control != first && visited.size() < 64);
        });
        const auto shown = [](const std::vector<int>& ids) {
            std::string out;
            for (int id : ids) {
                if (!out.empty()) out += ' ';
                out += std::to_string(id);
            }
            return out;
        };
        log.ExpectEqual(shown(visited), shown(expected),
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
}

}  // namespace usbwiz
