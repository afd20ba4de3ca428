#include "ScenarioRunner.h"

#include <cstdio>
#include <fstream>
#include <optional>
#include <stdexcept>

#include "pages/PageLayout.h"

namespace usbwiz {

namespace {

constexpr DWORD kPollMilliseconds = 25;

// A step that did not get what it waited for.
struct StepFailed {
    std::string expected;
    std::string found;
};

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

// A control named in a scenario, on a page: a number, or a button of the common frame.
std::optional<int> ControlIdOf(const std::string& target, PageId page) {
    if (target == "back") return kBackButton;
    if (target == "cancel") return kCancelButton;
    if (target == "next" || target == "finish") {
        for (const ControlLayout& control : LayoutOf(page).controls)
            if (control.kind == ControlKind::DefaultButton) return control.id;
        return std::nullopt;
    }
    return NumberOf(target);
}

bool YesNo(const std::string& word) {
    if (word == "yes") return true;
    if (word == "no") return false;
    throw ScenarioError("expected yes or no, found \"" + word + "\"");
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

// Nothing of the page is waiting to be painted.
bool IsPainted(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        if (GetUpdateRect(child, nullptr, FALSE)) return false;
    return true;
}

}  // namespace

bool ScenarioRunner::Run(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
        try {
            RunStep(step);
            std::printf("  ok    line %d: %s\n", step.line, step.source.c_str());
        } catch (const StepFailed& failure) {
            std::printf("FAIL  line %d: %s\n  expected: %s\n  found:    %s\n", step.line,
                        step.source.c_str(), failure.expected.c_str(), failure.found.c_str());
            return false;
        } catch (const ScenarioError& error) {
            std::printf("FAIL  line %d: %s\n  the step is not understood: %s\n", step.line,
                        step.source.c_str(), error.what());
            return false;
        }
        std::fflush(stdout);
    }
    return true;
}

void ScenarioRunner::RunStep(const Step& step) {
    if (step.verb == "page") return WaitForPage(step.rest);
    if (step.verb == "click") return Click(step.rest);
    if (step.verb == "type") return Type(step.rest);
    if (step.verb == "clear") return Clear(step.rest);
    if (step.verb == "key") return PressKey(step.rest);
    if (step.verb == "expect-text") return ExpectText(step.rest);
    if (step.verb == "expect-checked") return ExpectChecked(step.rest);
    if (step.verb == "expect-visible") return ExpectVisible(step.rest);
    if (step.verb == "message") return AnswerMessage(step.rest);
    if (step.verb == "snapshot") return Snapshot(step.rest);
    if (step.verb == "exit") return ExpectExit(step.rest);
    throw ScenarioError("unknown step \"" + step.verb + "\"");
}

void ScenarioRunner::WaitUntil(const std::string& expected, const Probe& probe, bool wizardMayEnd) {
    const auto deadline = std::chrono::steady_clock::now() + options_.stepTimeout;
    std::string found;
    for (;;) {
        found.clear();
        if (probe(found)) return;
        if (!wizardMayEnd) {
            if (const std::optional<DWORD> code = wizard_.ExitCode())
                throw StepFailed{expected,
                                 "the wizard has ended (exit code " + std::to_string(*code) + ")"};
        }
        if (std::chrono::steady_clock::now() >= deadline)
            throw StepFailed{expected, found + " (after " +
                                           std::to_string(options_.stepTimeout.count()) + " ms)"};
        Sleep(kPollMilliseconds);
    }
}

void ScenarioRunner::WaitForPage(const std::string& name) {
    const std::optional<PageId> wanted = PageByName(name);
    if (!wanted) throw ScenarioError("no page is called \"" + name + "\"");
    WaitUntil("page " + name, [&](std::string& found) {
        const WizardScreen screen = LookAtWizard(wizard_.Id());
        found = Describe(screen);
        return screen.pageId == wanted && screen.messageBox == nullptr;
    });
}

HWND ScenarioRunner::WaitForControl(
    const std::string& target, const std::string& expected,
    const std::function<bool(HWND control, HWND page, std::string& found)>& ready) {
    if (target.empty()) throw ScenarioError("a control is missing");
    HWND result = nullptr;
    WaitUntil(expected, [&](std::string& found) {
        const WizardScreen screen = LookAtWizard(wizard_.Id());
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

void ScenarioRunner::Click(const std::string& target) {
    HWND button =
        WaitForControl(target, "a visible, enabled " + target + " button on the foreground page",
                       [](HWND control, HWND page, std::string& found) {
                           if (!IsUsable(control, page, found)) return false;
                           // A click before the page has its activation back is undone by the
                           // page's own focus restore.
                           if (GetForegroundWindow() != page)
                               return NotYet(found, "ready, but the foreground window is " +
                                                        ForegroundDescription());
                           return true;
                       });
    PostMessageA(button, BM_CLICK, 0, 0);
}

void ScenarioRunner::Type(const std::string& arguments) {
    const auto [target, text] = SplitFirstWord(arguments);
    HWND edit =
        WaitForControl(target, "a visible, enabled control " + target + " to type into", IsUsable);
    for (unsigned char c : text) PostMessageA(edit, WM_CHAR, c, 1);
}

void ScenarioRunner::Clear(const std::string& target) {
    HWND edit =
        WaitForControl(target, "a visible, enabled control " + target + " to clear", IsUsable);
    PostMessageA(edit, EM_SETSEL, 0, -1);
    PostMessageA(edit, WM_CHAR, VK_BACK, 1);
}

void ScenarioRunner::PressKey(const std::string& key) {
    const UINT virtualKey = key == "enter"    ? VK_RETURN
                            : key == "escape" ? VK_ESCAPE
                            : key == "tab"    ? VK_TAB
                                              : 0;
    if (virtualKey == 0) throw ScenarioError("unknown key \"" + key + "\"");
    HWND focus = nullptr;
    WaitUntil("the foreground page with a focused control", [&](std::string& found) {
        const WizardScreen screen = LookAtWizard(wizard_.Id());
        found = Describe(screen);
        if (screen.page == nullptr || screen.messageBox != nullptr) return false;
        if (GetForegroundWindow() != screen.page) {
            found += ", the foreground window is " + ForegroundDescription();
            return false;
        }
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(screen.page, nullptr), &info) ||
            info.hwndFocus == nullptr) {
            found += " without a focused control";
            return false;
        }
        focus = info.hwndFocus;
        return true;
    });
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(focus, WM_KEYDOWN, virtualKey, scan | 1);
    PostMessageA(focus, WM_KEYUP, virtualKey, scan | 1 | (3LL << 30));
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
                       SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000,
                                           &state);
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

void ScenarioRunner::AnswerMessage(const std::string& arguments) {
    const auto [answer, text] = SplitFirstWord(arguments);
    const int buttonId = answer == "ok"       ? IDOK
                         : answer == "yes"    ? IDYES
                         : answer == "no"     ? IDNO
                         : answer == "cancel" ? IDCANCEL
                                              : 0;
    if (buttonId == 0) throw ScenarioError("unknown answer \"" + answer + "\"");

    HWND box = nullptr;
    HWND button = nullptr;
    WaitUntil("a message box saying " + Quoted(text) + " with a " + answer + " button",
              [&](std::string& found) {
                  const WizardScreen screen = LookAtWizard(wizard_.Id());
                  found = Describe(screen);
                  if (screen.messageBox == nullptr || MessageText(screen.messageBox) != text)
                      return false;
                  box = screen.messageBox;
                  button = GetDlgItem(box, buttonId);
                  if (button == nullptr || !IsWindowVisible(button) || !IsWindowEnabled(button)) {
                      found += " without a usable " + answer + " button";
                      return false;
                  }
                  if (GetForegroundWindow() != box) {
                      found += ", the foreground window is " + ForegroundDescription();
                      return false;
                  }
                  return true;
              });
    PostMessageA(button, BM_CLICK, 0, 0);
    WaitUntil(
        "the message box to close",
        [&](std::string& found) {
            found = "it is still open";
            return !IsWindow(box) || !IsWindowVisible(box);
        },
        true);
}

// The screenshot taker outside Wine watches the snapshot folder: the driver writes NAME.rect
// holding the page's rectangle as WIDTHxHEIGHT+X+Y, and waits until the taker has removed it.
void ScenarioRunner::Snapshot(const std::string& name) {
    if (name.empty()) throw ScenarioError("a snapshot needs a name");
    if (options_.snapshotFolder.empty()) {
        std::printf("        (no snapshot folder given: %s not taken)\n", name.c_str());
        return;
    }
    HWND page = nullptr;
    WaitUntil("a page in the foreground to take a snapshot of", [&](std::string& found) {
        const WizardScreen screen = LookAtWizard(wizard_.Id());
        found = Describe(screen);
        if (screen.page == nullptr || screen.messageBox != nullptr) return false;
        if (GetForegroundWindow() != screen.page) return false;
        page = screen.page;
        return true;
    });
    RedrawWindow(page, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    WaitUntil("the page painted", [&](std::string& found) {
        found = "parts of the page wait to be painted";
        return IsPainted(page);
    });

    // The client area: without a window manager nobody draws the caption, which would show
    // as a black band.
    RECT client;
    GetClientRect(page, &client);
    POINT origin{0, 0};
    ClientToScreen(page, &origin);
    const std::string path = options_.snapshotFolder + "\\" + name + ".rect";
    {
        std::ofstream out(path + ".tmp", std::ios::binary);
        out << client.right << 'x' << client.bottom << '+' << origin.x << '+' << origin.y << '\n';
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
            ended = wizard_.ExitCode();
            if (!ended) found = "it still shows " + Describe(LookAtWizard(wizard_.Id()));
            return ended.has_value();
        },
        true);
    if (*ended != static_cast<DWORD>(*expected))
        throw StepFailed{"exit code " + code, "exit code " + std::to_string(*ended)};
}

}  // namespace usbwiz
