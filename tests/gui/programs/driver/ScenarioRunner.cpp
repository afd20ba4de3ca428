#include "ScenarioRunner.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <stdexcept>

#include "MessageBoxView.h"
#include "StepFailed.h"
#include "pages/BrowseForOutputDirectory.h"
#include "pages/ControlIds.h"
#include "pages/PageLayout.h"

namespace usbwiz {

namespace {

constexpr DWORD kPollMilliseconds = 25;
constexpr UINT kSendTimeoutMilliseconds = 5000;

// The caption Windows (and Wine) give a message box whose caller passed none.
constexpr const char* kSystemMessageCaption = "Error";

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out + "\"";
}

std::optional<int> NumberOf(const std::string& text) {
    if (text.empty()) return std::nullopt;
    try {
        std::size_t used = 0;
        const long value = std::stol(text, &used, 0);
        if (used != text.size() || value < 0 || value > 0xFFFF) return std::nullopt;
        return static_cast<int>(value);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// A control named in a scenario, on a page: a name of pages/ControlIds.h, a number that header
// gives, or a button of the common frame.
std::optional<int> ControlIdOf(const std::string& target, PageId page) {
    if (target == "back") return kBackButton;
    if (target == "cancel") return kCancelButton;
    if (target == "next" || target == "finish") {
        for (const ControlLayout& control : LayoutOf(page).controls)
            if (control.kind == ControlKind::DefaultButton) return control.id;
        return std::nullopt;
    }
    const std::optional<int> number = NumberOf(target);
    for (const NamedControl& control : kNamedControls)
        if (control.name == target || (number && control.id == *number)) return control.id;
    return std::nullopt;
}

bool YesNo(const std::string& word) {
    if (word == "yes") return true;
    if (word == "no") return false;
    throw ScenarioError("expected yes or no, found \"" + word + "\"");
}

// "Z:\build\UsbDriverWizard.exe" -> "UsbDriverWizard"
std::string BaseNameOf(const std::string& program) {
    std::string name = FileNameOf(program);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

std::string ForegroundDescription() {
    HWND foreground = GetForegroundWindow();
    if (foreground == nullptr) return "no window";
    return ClassOf(foreground) + " \"" + WindowText(foreground) + "\"";
}

// Says why a probe is not satisfied yet.
bool NotYet(std::string& found, const std::string& why) {
    found += why;
    return false;
}

// A control a user could type into or press.
bool IsUsable(HWND control, HWND, std::string& found) {
    if (!IsWindowVisible(control)) return NotYet(found, "hidden");
    if (!IsWindowEnabled(control)) return NotYet(found, "disabled");
    return true;
}

// Nothing of the window is waiting to be painted.
bool IsPainted(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        if (GetUpdateRect(child, nullptr, FALSE)) return false;
    return true;
}

bool IsPushed(HWND button) {
    DWORD_PTR state = 0;
    SendMessageTimeoutA(button, BM_GETSTATE, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMilliseconds,
                        &state);
    return (state & BST_PUSHED) != 0;
}

// Sends a message to a control of the wizard and waits for it to be handled; only for messages
// that cannot open a modal window, which would keep the answer back.
void SendToControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(control, message, wParam, lParam, SMTO_ABORTIFHUNG,
                             kSendTimeoutMilliseconds, &ignored))
        throw StepFailed{"the control to take message " + std::to_string(message),
                         "no answer within " + std::to_string(kSendTimeoutMilliseconds) + " ms"};
}

struct ExpectedMessage {
    int answerId = 0;
    std::vector<int> buttons;
    BoxIcon icon = BoxIcon::None;
    std::string text;
};

ExpectedMessage ParseMessageStep(const std::string& arguments) {
    const auto [answer, afterAnswer] = SplitFirstWord(arguments);
    const auto [iconName, text] = SplitFirstWord(afterAnswer);
    ExpectedMessage expected;
    expected.text = text;
    if (answer == "ok") {
        expected.answerId = IDOK;
        expected.buttons = {IDOK};
    } else if (answer == "yes" || answer == "no") {
        expected.answerId = answer == "yes" ? IDYES : IDNO;
        expected.buttons = {IDYES, IDNO};
    } else {
        throw ScenarioError("unknown answer \"" + answer + "\" (ok, yes or no)");
    }
    const std::optional<BoxIcon> icon = BoxIconByName(iconName);
    if (!icon) throw ScenarioError("unknown icon \"" + iconName + "\"");
    expected.icon = *icon;
    return expected;
}

}  // namespace

bool ScenarioRunner::Run(const std::vector<Step>& steps) {
    bool passed = true;
    for (const Step& step : steps) {
        try {
            const auto started = std::chrono::steady_clock::now();
            RunStep(step);
            const long long took = std::chrono::duration_cast<std::chrono::milliseconds>(
                                       std::chrono::steady_clock::now() - started)
                                       .count();
            std::printf("  ok    %5lld ms  %s:%d: %s\n", took, step.file.c_str(), step.line,
                        step.source.c_str());
        } catch (const StepFailed& failure) {
            std::printf("FAIL  %s:%d: %s\n  expected: %s\n  found:    %s\n", step.file.c_str(),
                        step.line, step.source.c_str(), failure.expected.c_str(),
                        failure.found.c_str());
            passed = false;
        } catch (const ScenarioError& error) {
            std::printf("FAIL  %s:%d: %s\n  the step is not understood: %s\n", step.file.c_str(),
                        step.line, step.source.c_str(), error.what());
            passed = false;
        }
        std::fflush(stdout);
        if (!passed) break;
    }
    if (wizard_ && wizard_->Terminate()) {
        if (passed)
            std::printf("FAIL  the scenario ended with the wizard still running (it was ended)\n");
        else
            std::printf("      the wizard was still running: the driver ended it\n");
        passed = false;
    }
    wizard_.reset();
    files_.ReleaseAll();
    std::fflush(stdout);
    return passed;
}

void ScenarioRunner::RunStep(const Step& step) {
    const std::string& verb = step.verb;
    if (verb == "start") return Start(step.rest.empty() ? options_.program : step.rest);
    if (verb == "page") return WaitForPage(step.rest);
    if (verb == "click") return Click(step.rest);
    if (verb == "type") return Type(step.rest);
    if (verb == "clear") return Clear(step.rest);
    if (verb == "key") return PressKey(step.rest);
    if (verb == "close") return Close();
    if (verb == "expect-text") return ExpectText(step.rest);
    if (verb == "expect-checked") return ExpectChecked(step.rest);
    if (verb == "expect-visible") return ExpectVisible(step.rest);
    if (verb == "expect-scroll-bar") return ExpectScrollBar(step.rest);
    if (verb == "expect-reachable") return ExpectReachable(step.rest);
    if (verb == "expect-tooltip") return ExpectTooltip(step.rest);
    if (verb == "expect-focus") return ExpectFocus(step.rest);
    if (verb == "expect-selection") return ExpectSelection(step.rest);
    if (verb == "message") return AnswerMessage(step.rest, Answer::Click);
    if (verb == "unowned-message") return AnswerMessage(step.rest, Answer::ClickUnowned);
    if (verb == "message-key") return AnswerMessage(step.rest, Answer::EnterKey);
    if (verb == "browse") return Browse(step.rest);
    if (verb == "expect-no-message") return ExpectNoMessage();
    if (verb == "snapshot") return Snapshot(step.rest);
    if (verb == "snapshot-message") return SnapshotMessage(step.rest);
    if (verb == "exit") return ExpectExit(step.rest);
    if (RunFileStep(step)) return;
    throw ScenarioError("unknown step \"" + verb + "\"");
}

bool ScenarioRunner::RunFileStep(const Step& step) {
    static const std::vector<std::string> kFileSteps = {
        "make-dir",    "remove-dir",     "make-file",  "hold-open",      "release",
        "expect-file", "expect-no-file", "expect-dir", "expect-no-files"};
    const std::string& verb = step.verb;
    if (std::find(kFileSteps.begin(), kFileSteps.end(), verb) == kFileSteps.end()) return false;
    if (step.rest.empty()) throw ScenarioError(verb + " needs a path");
    const auto [path, text] = SplitFirstWord(step.rest);
    if (verb == "make-dir") files_.MakeDirectory(step.rest);
    if (verb == "remove-dir") files_.RemoveDirectory(step.rest);
    if (verb == "make-file") files_.MakeFile(path, text);
    if (verb == "hold-open") files_.HoldOpen(step.rest);
    if (verb == "release") files_.Release(step.rest);
    if (verb == "expect-file" && text.empty()) files_.ExpectFile(path);
    if (verb == "expect-file" && !text.empty()) files_.ExpectFileText(path, text);
    if (verb == "expect-no-file") files_.ExpectNoEntry(step.rest);
    if (verb == "expect-dir") files_.ExpectDirectory(step.rest);
    if (verb == "expect-no-files") files_.ExpectNoFiles(step.rest);
    return true;
}

WizardProcess& ScenarioRunner::Wizard() {
    if (!wizard_) throw ScenarioError("the wizard has not been started (start)");
    return *wizard_;
}

WizardScreen ScenarioRunner::Screen() {
    return LookAtWizard(Wizard().Id());
}

void ScenarioRunner::WaitUntil(const std::string& expected, const Probe& probe, bool wizardMayEnd) {
    const auto deadline = std::chrono::steady_clock::now() + options_.stepTimeout;
    std::string found;
    for (;;) {
        found.clear();
        if (probe(found)) return;
        if (!wizardMayEnd) {
            if (const std::optional<DWORD> code = Wizard().ExitCode())
                throw StepFailed{expected,
                                 "the wizard has ended (exit code " + std::to_string(*code) + ")"};
        }
        if (std::chrono::steady_clock::now() >= deadline)
            throw StepFailed{expected, found + " (after " +
                                           std::to_string(options_.stepTimeout.count()) + " ms)"};
        Sleep(kPollMilliseconds);
    }
}

void ScenarioRunner::Start(const std::string& program) {
    if (wizard_) {
        if (const std::optional<DWORD> code = wizard_->ExitCode(); !code)
            throw StepFailed{"the wizard started before to have ended", "it still runs"};
    }
    wizard_.reset();
    try {
        wizard_.emplace(program);
    } catch (const std::runtime_error& error) {
        throw StepFailed{"the wizard started", error.what()};
    }
    title_ = BaseNameOf(program);
}

void ScenarioRunner::WaitForPage(const std::string& name) {
    const std::optional<PageId> wanted = PageByName(name);
    if (!wanted) throw ScenarioError("no page is called \"" + name + "\"");
    const std::string caption(LayoutOf(*wanted).caption);
    WaitUntil("page " + name + " captioned " + Quoted(caption), [&](std::string& found) {
        const WizardScreen screen = Screen();
        found = Describe(screen);
        if (screen.pageId != wanted || screen.messageBox != nullptr) return false;
        const std::string shown = WindowText(screen.page);
        if (shown != caption) return NotYet(found, " captioned " + Quoted(shown));
        return true;
    });
}

HWND ScenarioRunner::WaitForControl(
    const std::string& target, const std::string& expected,
    const std::function<bool(HWND control, HWND page, std::string& found)>& ready) {
    if (target.empty()) throw ScenarioError("a control is missing");
    HWND result = nullptr;
    WaitUntil(expected, [&](std::string& found) {
        const WizardScreen screen = Screen();
        if (screen.page == nullptr || screen.messageBox != nullptr) {
            found = Describe(screen);
            return false;
        }
        const std::optional<int> id = ControlIdOf(target, *screen.pageId);
        if (!id) throw ScenarioError("\"" + target + "\" is no control id");
        HWND control = GetDlgItem(screen.page, *id);
        const std::string where = "page " + PageName(*screen.pageId);
        if (control == nullptr) {
            found = where + " without control " + std::to_string(*id);
            return false;
        }
        found = where + ", control " + std::to_string(*id) + " ";
        if (!ready(control, screen.page, found)) return false;
        result = control;
        return true;
    });
    return result;
}

HWND ScenarioRunner::WaitForForegroundPage(const std::string& expected) {
    HWND page = nullptr;
    WaitUntil(expected, [&](std::string& found) {
        const WizardScreen screen = Screen();
        found = Describe(screen);
        if (screen.page == nullptr || screen.messageBox != nullptr) return false;
        if (GetForegroundWindow() != screen.page)
            return NotYet(found, ", the foreground window is " + ForegroundDescription());
        page = screen.page;
        return true;
    });
    return page;
}

// Every page has a Cancel button. Its pushed state, set and cleared by posted messages, marks
// how far the wizard has got through what was posted to it: posted messages are handled in
// order, also inside the modal loop of a message box that an earlier one opened.
void ScenarioRunner::WaitUntilHandled(HWND page) {
    HWND marker = GetDlgItem(page, kCancelButton);
    if (marker == nullptr) return;
    for (const BOOL pushed : {TRUE, FALSE}) {
        PostMessageA(marker, BM_SETSTATE, pushed, 0);
        WaitUntil(
            "the wizard to handle the input",
            [&](std::string& found) {
                found = "it has not got to it yet";
                return !IsWindow(marker) || IsPushed(marker) == (pushed != FALSE);
            },
            true);
        if (!IsWindow(marker)) return;
    }
}

void ScenarioRunner::Click(const std::string& target) {
    HWND page = nullptr;
    HWND button =
        WaitForControl(target, "a visible, enabled " + target + " button on the foreground page",
                       [&page](HWND control, HWND shownPage, std::string& found) {
                           if (!IsUsable(control, shownPage, found)) return false;
                           // A click before the page has its activation back is undone by the
                           // page's own focus restore.
                           if (GetForegroundWindow() != shownPage)
                               return NotYet(found, "ready, but the foreground window is " +
                                                        ForegroundDescription());
                           page = shownPage;
                           return true;
                       });
    // Posted: the click may open a modal message box, which would hold a sent message back.
    PostMessageA(button, BM_CLICK, 0, 0);
    WaitUntilHandled(page);
}

void ScenarioRunner::Type(const std::string& arguments) {
    const auto [target, text] = SplitFirstWord(arguments);
    HWND edit =
        WaitForControl(target, "a visible, enabled control " + target + " to type into", IsUsable);
    for (unsigned char c : text) SendToControl(edit, WM_CHAR, c, 1);
}

void ScenarioRunner::Clear(const std::string& target) {
    HWND edit =
        WaitForControl(target, "a visible, enabled control " + target + " to clear", IsUsable);
    SendToControl(edit, EM_SETSEL, 0, -1);
    SendToControl(edit, WM_CHAR, VK_BACK, 1);
}

HWND ScenarioRunner::FocusedControl(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

// Posted, as the keyboard would: the dialog's own message loop turns Tab, Enter and Esc into
// moves and buttons.
void ScenarioRunner::PostKey(HWND control, UINT virtualKey) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(control, WM_KEYDOWN, virtualKey, scan | 1);
    PostMessageA(control, WM_KEYUP, virtualKey, scan | 1 | (3LL << 30));
}

void ScenarioRunner::PressKey(const std::string& key) {
    const UINT virtualKey = key == "enter"    ? VK_RETURN
                            : key == "escape" ? VK_ESCAPE
                            : key == "tab"    ? VK_TAB
                            : key == "space"  ? VK_SPACE
                                              : 0;
    if (virtualKey == 0) throw ScenarioError("unknown key \"" + key + "\"");
    HWND page = WaitForForegroundPage("the foreground page with a focused control");
    HWND focused = FocusedControl(page);
    if (focused == nullptr)
        throw StepFailed{"a focused control on the page", "no control has the focus"};
    PostKey(focused, virtualKey);
    WaitUntilHandled(page);
}

void ScenarioRunner::ExpectFocus(const std::string& target) {
    WaitForControl(target, "control " + target + " focused",
                   [](HWND control, HWND page, std::string& found) {
                       HWND focused = FocusedControl(page);
                       if (focused == control) return true;
                       return NotYet(found, "without the focus, which control " +
                                                std::to_string(GetDlgCtrlID(focused)) + " has");
                   });
}

void ScenarioRunner::ExpectSelection(const std::string& arguments) {
    const auto [target, text] = SplitFirstWord(arguments);
    WaitForControl(target, "control " + target + " focused with " + Quoted(text) + " selected",
                   [&text](HWND control, HWND page, std::string& found) {
                       DWORD_PTR range = 0;
                       SendMessageTimeoutA(control, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG,
                                           kSendTimeoutMilliseconds, &range);
                       const std::string shown = WindowText(control);
                       const std::size_t start = std::min<std::size_t>(LOWORD(range), shown.size());
                       const std::size_t end = std::min<std::size_t>(HIWORD(range), shown.size());
                       const std::string selected =
                           start < end ? shown.substr(start, end - start) : std::string();
                       const bool focused = FocusedControl(page) == control;
                       found += (focused ? "focused" : "not focused") + std::string(", ") +
                                Quoted(selected) + " selected of " + Quoted(shown);
                       return focused && selected == text;
                   });
}

void ScenarioRunner::Close() {
    HWND page = WaitForForegroundPage("the foreground page to close");
    PostMessageA(page, WM_SYSCOMMAND, SC_CLOSE, 0);
    WaitUntilHandled(page);
}

void ScenarioRunner::ExpectText(const std::string& arguments) {
    const auto [target, text] = SplitFirstWord(arguments);
    WaitForControl(target, "control " + target + " saying " + Quoted(text),
                   [&text](HWND control, HWND, std::string& found) {
                       const std::string shown = WindowText(control);
                       found += "says " + Quoted(shown);
                       return shown == text;
                   });
}

void ScenarioRunner::ExpectChecked(const std::string& arguments) {
    const auto [target, answer] = SplitFirstWord(arguments);
    const bool wanted = YesNo(answer);
    WaitForControl(target, "control " + target + (wanted ? " checked" : " not checked"),
                   [wanted](HWND control, HWND, std::string& found) {
                       DWORD_PTR state = 0;
                       SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG,
                                           kSendTimeoutMilliseconds, &state);
                       const bool checked = state == BST_CHECKED;
                       found += checked ? "checked" : "not checked";
                       return checked == wanted;
                   });
}

void ScenarioRunner::ExpectVisible(const std::string& arguments) {
    const auto [target, answer] = SplitFirstWord(arguments);
    const bool wanted = YesNo(answer);
    WaitForControl(target, "control " + target + (wanted ? " visible" : " hidden"),
                   [wanted](HWND control, HWND, std::string& found) {
                       const bool visible =
                           (GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE) != 0;
                       found += visible ? "visible" : "hidden";
                       return visible == wanted;
                   });
}

void ScenarioRunner::ExpectScrollBar(const std::string& arguments) {
    const auto [target, answer] = SplitFirstWord(arguments);
    const bool wanted = YesNo(answer);
    WaitForControl(target,
                   "control " + target + (wanted ? " with" : " without") + " a scroll bar below",
                   [wanted](HWND control, HWND, std::string& found) {
                       const bool shown = (GetWindowLongPtrA(control, GWL_STYLE) & WS_HSCROLL) != 0;
                       found += shown ? "with a scroll bar" : "without a scroll bar";
                       return shown == wanted;
                   });
}

namespace {

// The text of a line of a multi-line control and the index of its first character.
std::pair<std::string, int> LineOf(HWND control, int line) {
    const std::string text = WindowText(control);
    std::size_t start = 0;
    for (int i = 0; i < line && start != std::string::npos; ++i) {
        start = text.find("\r\n", start);
        if (start != std::string::npos) start += 2;
    }
    if (start == std::string::npos) return {{}, -1};
    return {text.substr(start, text.find("\r\n", start) - start), static_cast<int>(start)};
}

int LeftOf(HWND control, int index) {
    DWORD_PTR position = 0;
    SendMessageTimeoutA(control, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG,
                        kSendTimeoutMilliseconds, &position);
    return static_cast<short>(LOWORD(position));
}

int LineNumber(const std::string& text) {
    const std::optional<int> number = NumberOf(text);
    if (!number) throw ScenarioError("a line number is needed, found \"" + text + "\"");
    return *number;
}

}  // namespace

void ScenarioRunner::ExpectReachable(const std::string& arguments) {
    const auto [target, rest] = SplitFirstWord(arguments);
    const auto [lineText, text] = SplitFirstWord(rest);
    const int line = LineNumber(lineText);
    HWND control = WaitForControl(
        target, "control " + target + " line " + lineText + " saying " + Quoted(text),
        [&](HWND shown, HWND, std::string& found) {
            found += "line " + lineText + " says " + Quoted(LineOf(shown, line).first);
            return LineOf(shown, line).first == text;
        });
    const int first = LineOf(control, line).second;
    const int last = first + static_cast<int>(text.size()) - 1;
    RECT client;
    GetClientRect(control, &client);
    if (text.empty() || LeftOf(control, first) < 0 || LeftOf(control, last) < client.right)
        throw StepFailed{"line " + lineText + " starting inside control " + target +
                             " and running past its right edge",
                         "its last character starts at " + std::to_string(LeftOf(control, last))};
    // Clicks beside the thumb, until the scroll bar is at its end.
    for (int page = 0, before = -1; page < 200 && LeftOf(control, last) != before; ++page) {
        before = LeftOf(control, last);
        SendToControl(control, WM_HSCROLL, SB_PAGERIGHT, 0);
        SendToControl(control, WM_HSCROLL, SB_ENDSCROLL, 0);
    }
    const int end = LeftOf(control, last);
    if (end < client.left || end >= client.right)
        throw StepFailed{
            "the last character of line " + lineText + " in view, the bar at its end",
            "it starts at " + std::to_string(end) + " of " + std::to_string(client.right)};
}

void ScenarioRunner::ExpectTooltip(const std::string& arguments) {
    const auto [target, rest] = SplitFirstWord(arguments);
    const auto [lineText, text] = SplitFirstWord(rest);
    HWND control = WaitForControl(target, "a visible control " + target, IsUsable);
    const int first = LineOf(control, LineNumber(lineText)).second;
    if (first < 0) throw StepFailed{"line " + lineText + " in control " + target, "none"};
    RECT client;
    GetClientRect(control, &client);
    DWORD_PTR position = 0;
    SendMessageTimeoutA(control, EM_POSFROMCHAR, static_cast<WPARAM>(first), 0, SMTO_ABORTIFHUNG,
                        kSendTimeoutMilliseconds, &position);
    POINT point{client.right / 2, static_cast<short>(HIWORD(position)) + 2};
    ClientToScreen(control, &point);
    // Two moves: a tooltip waits for the pointer to rest once it has seen it move.
    SetCursorPos(point.x + 1, point.y);
    Sleep(100);
    SetCursorPos(point.x, point.y);
    WaitUntil("a tooltip saying " + Quoted(text), [&](std::string& found) {
        found = "no tooltip";
        for (HWND tip = nullptr; (tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr));) {
            DWORD process = 0;
            GetWindowThreadProcessId(tip, &process);
            if (process != Wizard().Id() || !IsWindowVisible(tip)) continue;
            found = "a tooltip saying " + Quoted(WindowText(tip));
            if (WindowText(tip) == text) return true;
        }
        return false;
    });
}

void ScenarioRunner::AnswerMessage(const std::string& arguments, Answer how) {
    const bool ownedByPage = how != Answer::ClickUnowned;
    const ExpectedMessage expected = ParseMessageStep(arguments);
    const std::string caption = ownedByPage ? title_ : kSystemMessageCaption;
    const std::string description =
        "a message box " + Quoted(expected.text) + " captioned " + Quoted(caption) + ", icon " +
        NameOf(expected.icon) + ", buttons " + ButtonNames(expected.buttons) +
        (ownedByPage ? ", owned by the page" : ", with no owner window");

    HWND box = nullptr;
    WaitUntil(description, [&](std::string& found) {
        const WizardScreen screen = Screen();
        found = Describe(screen);
        if (screen.messageBox == nullptr) return false;
        // The icon is read from the screen: the box must be on top and painted.
        if (GetForegroundWindow() != screen.messageBox || !IsPainted(screen.messageBox))
            return NotYet(found, " (not yet in the foreground and painted)");
        const MessageBoxView view = ReadMessageBox(screen.messageBox);
        const HWND wantedOwner = ownedByPage ? screen.page : nullptr;
        std::string owner = "no owner window";
        if (view.owner != nullptr)
            owner = view.owner == screen.page ? "owned by the page" : "owned by another window";
        found = "a message box " + Quoted(view.text) + " captioned " + Quoted(view.caption) +
                ", icon " + NameOf(view.icon) + ", buttons " + ButtonNames(view.buttons) + ", " +
                owner;
        if (ownedByPage && screen.page == nullptr) return NotYet(found, ", and no page");
        if (view.text != expected.text || view.caption != caption || view.icon != expected.icon ||
            view.buttons != expected.buttons || view.owner != wantedOwner)
            return false;
        if (how == Answer::EnterKey &&
            FocusedControl(screen.messageBox) != GetDlgItem(screen.messageBox, expected.answerId))
            return NotYet(found, ", the focus on another button");
        box = screen.messageBox;
        return true;
    });
    if (how == Answer::EnterKey)
        PostKey(GetDlgItem(box, expected.answerId), VK_RETURN);
    else
        PostMessageA(GetDlgItem(box, expected.answerId), BM_CLICK, 0, 0);
    WaitUntil(
        "the message box to close",
        [&](std::string& found) {
            found = "it is still open";
            return !IsWindow(box) || !IsWindowVisible(box);
        },
        true);
}

void ScenarioRunner::Browse(const std::string& choice) {
    if (choice.empty()) throw ScenarioError("browse needs a tree item or cancel");
    const std::string title(kBrowseForOutputTitle);
    HWND browser = nullptr;
    HWND page = nullptr;
    WaitUntil("a folder browser titled " + Quoted(title) +
                  " in the foreground, owned by the page, the page disabled",
              [&](std::string& found) {
                  const WizardScreen screen = Screen();
                  found = Describe(screen);
                  if (screen.page == nullptr || screen.otherDialogs.size() != 1) return false;
                  HWND dialog = screen.otherDialogs.front();
                  if (FindWindowExA(dialog, nullptr, "Static", title.c_str()) == nullptr)
                      return NotYet(found, " without that title");
                  if (GetWindow(dialog, GW_OWNER) != screen.page)
                      return NotYet(found, " not owned by the page");
                  if (IsWindowEnabled(screen.page)) return NotYet(found, ", the page enabled");
                  if (GetForegroundWindow() != dialog)
                      return NotYet(found, ", the foreground window is " + ForegroundDescription());
                  browser = dialog;
                  page = screen.page;
                  return true;
              });
    int button = IDCANCEL;
    if (choice != "cancel") {
        HWND tree = FindWindowExA(browser, nullptr, "SysTreeView32", nullptr);
        HTREEITEM item = nullptr;
        WaitUntil("a tree item " + Quoted(choice) + " in the folder browser",
                  [&](std::string& found) {
                      found = "items";
                      for (const TreeItem& shown : ShownTreeItems(Wizard().Handle(), tree)) {
                          found += ' ';
                          found += Quoted(shown.text);
                          if (shown.text == choice) item = shown.item;
                      }
                      return item != nullptr;
                  });
        SendToControl(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        button = IDOK;
    }
    PostMessageA(GetDlgItem(browser, button), BM_CLICK, 0, 0);
    WaitUntil("the folder browser gone and the page enabled again", [&](std::string& found) {
        found = Describe(Screen());
        return !IsWindow(browser) && IsWindowEnabled(page);
    });
}

void ScenarioRunner::ExpectNoMessage() {
    const WizardScreen before = Screen();
    if (before.page != nullptr) WaitUntilHandled(before.page);
    const WizardScreen screen = Screen();
    if (screen.messageBox != nullptr)
        throw StepFailed{"no message box", "message box " + Quoted(MessageText(screen.messageBox))};
    if (screen.page == nullptr) throw StepFailed{"a page and no message box", Describe(screen)};
}

void ScenarioRunner::Snapshot(const std::string& name) {
    if (name.empty()) throw ScenarioError("a snapshot needs a name");
    if (options_.snapshotFolder.empty()) {
        std::printf("        (no snapshot folder given: %s not taken)\n", name.c_str());
        return;
    }
    HWND page = WaitForForegroundPage("a page in the foreground to take a snapshot of");
    TakeSnapshot(name, page);
}

void ScenarioRunner::SnapshotMessage(const std::string& name) {
    if (name.empty()) throw ScenarioError("a snapshot needs a name");
    if (options_.snapshotFolder.empty()) {
        std::printf("        (no snapshot folder given: %s not taken)\n", name.c_str());
        return;
    }
    HWND box = nullptr;
    WaitUntil("a message box in the foreground to take a snapshot of", [&](std::string& found) {
        const WizardScreen screen = Screen();
        found = Describe(screen);
        if (screen.messageBox == nullptr || GetForegroundWindow() != screen.messageBox)
            return false;
        box = screen.messageBox;
        return true;
    });
    TakeSnapshot(name, box);
}

// The screenshot taker outside Wine watches the snapshot folder: the driver writes NAME.rect
// holding the window's rectangle as WIDTHxHEIGHT+X+Y, and waits until the taker has removed it.
// Wine draws the title bar itself (on-private-display.sh), so the whole window is taken.
void ScenarioRunner::TakeSnapshot(const std::string& name, HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    WaitUntil("the window painted", [&](std::string& found) {
        found = "parts of the window wait to be painted";
        return IsPainted(window);
    });
    RECT area;
    GetWindowRect(window, &area);
    const std::string path = options_.snapshotFolder + "\\" + name + ".rect";
    {
        std::ofstream out(path + ".tmp", std::ios::binary);
        out << area.right - area.left << 'x' << area.bottom - area.top << '+' << area.left << '+'
            << area.top << '\n';
        if (!out) throw StepFailed{"a snapshot request written to " + path, "a write failure"};
    }
    if (!MoveFileExA((path + ".tmp").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        throw StepFailed{"a snapshot request at " + path, "it cannot be put in place"};
    WaitUntil("the screenshot taker to take " + name, [&](std::string& found) {
        found = path + " is still there";
        return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
    });
}

void ScenarioRunner::ExpectExit(const std::string& code) {
    const std::optional<int> expected = NumberOf(code);
    if (!expected) throw ScenarioError("an exit code is needed, found \"" + code + "\"");
    std::optional<DWORD> ended;
    WaitUntil(
        "the wizard to end",
        [&](std::string& found) {
            ended = Wizard().ExitCode();
            if (!ended) found = "it still shows " + Describe(Screen());
            return ended.has_value();
        },
        true);
    if (*ended != static_cast<DWORD>(*expected))
        throw StepFailed{"exit code " + code, "exit code " + std::to_string(*ended)};
}

}  // namespace usbwiz
