#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "FileSystemSteps.h"
#include "Scenario.h"
#include "WizardProcess.h"
#include "WizardWindows.h"

namespace usbwiz {

struct DriverOptions {
    std::string program;  // the wizard that "start" starts
    std::chrono::milliseconds stepTimeout{20000};
    std::string snapshotFolder;  // empty: snapshot steps are skipped
};

// Plays a scenario against the wizard. Every step waits, by polling until a deadline, for the
// state it needs; the first step that does not get it fails the scenario with what it expected
// and what it found. A scenario must end the wizard itself (exit); the runner ends a wizard that
// is still running, and the scenario fails.
//
// Steps (ID is a control id, or next / finish / back / cancel on the current page; PATH and DIR
// are Windows paths):
//   start [PROGRAM]        start the wizard (--program unless given); an earlier one must have
//                          ended. Its message boxes are captioned with the program's base name.
//   page NAME              wait until the wizard shows page NAME, with the wizard's caption, and
//                          no message box
//   click ID               press a visible, enabled button once its page is the foreground window
//   type ID TEXT           type TEXT into an edit, character by character (WM_CHAR), so that the
//                          edit's own limit and upper-casing apply
//   clear ID               select all of an edit's text and delete it, as typing would
//   key enter|escape|tab|space
//                          press a key in the control that has the focus
//   expect-focus ID        the control has the keyboard focus
//   expect-selection ID TEXT
//                          the edit has the keyboard focus and TEXT selected, so that typing
//                          replaces exactly TEXT
//   close                  the close box of the page (WM_SYSCOMMAND SC_CLOSE)
//   expect-text ID TEXT    the control's text is exactly TEXT
//   expect-checked ID yes|no
//   expect-visible ID yes|no
//   expect-scroll-bar ID yes|no
//                          the control shows a horizontal scroll bar
//   expect-reachable ID LINE TEXT
//                          line LINE (from 0) of a multi-line control says TEXT and runs past the
//                          control's right edge, and paging through it with the scroll bar, as
//                          clicks beside the thumb do, brings every character of it into view
//   expect-tooltip ID LINE TEXT
//                          with the mouse pointer over line LINE of the control, a tooltip of the
//                          wizard shows TEXT
//   message ANSWER ICON TEXT
//                          a message box of the current page: owned by it, captioned with the
//                          program's base name, showing ICON (none, error, warning, question,
//                          information) and TEXT, with the buttons ANSWER belongs to (ok: OK alone;
//                          yes, no: Yes and No); then press ANSWER
//   unowned-message ANSWER ICON TEXT
//                          the same for a box with no owner window and the system's own caption
//   message-key ANSWER ICON TEXT
//                          as message, but answered with Enter, which ANSWER must have the focus
//                          for
//   browse ITEM|cancel     the folder browser of the current page: owned by it, the page disabled
//                          while it is open, showing the wizard's title for it; choose the tree
//                          item ITEM among those shown and press OK, or press Cancel; then the
//                          browser is gone and the page enabled again
//   expect-no-message      once the wizard has handled everything sent to it, no box is open
//   snapshot NAME          screenshot of the foreground page (needs --snapshots)
//   snapshot-message NAME  screenshot of the open message box
//   exit CODE              wait until the wizard has ended with exit code CODE
//   make-dir PATH          make a folder and its missing parents
//   remove-dir PATH        remove an existing folder and everything in it
//   make-file PATH [TEXT]  make a file holding TEXT
//   hold-open PATH         open PATH (creating it) with no sharing, as another program would
//   release PATH           close what hold-open opened
//   expect-file PATH [TEXT]   a file is at PATH; holding exactly TEXT when given
//   expect-no-file PATH    nothing is at PATH
//   expect-dir PATH        a folder is at PATH
//   expect-no-files DIR    DIR is missing or empty
class ScenarioRunner {
  public:
    explicit ScenarioRunner(DriverOptions options) : options_(std::move(options)) {}

    // Runs the steps in order, stopping at the first failure; answers whether all passed. The
    // wizard and every held file are gone when it returns.
    bool Run(const std::vector<Step>& steps);

  private:
    using Probe = std::function<bool(std::string& found)>;

    void RunStep(const Step& step);
    bool RunFileStep(const Step& step);
    void WaitUntil(const std::string& expected, const Probe& probe, bool wizardMayEnd = false);
    WizardProcess& Wizard();
    WizardScreen Screen();

    void Start(const std::string& program);
    void WaitForPage(const std::string& name);
    void Click(const std::string& target);
    void Type(const std::string& arguments);
    void Clear(const std::string& target);
    void PressKey(const std::string& key);
    void Close();
    void ExpectText(const std::string& arguments);
    void ExpectChecked(const std::string& arguments);
    void ExpectVisible(const std::string& arguments);
    void ExpectScrollBar(const std::string& arguments);
    void ExpectReachable(const std::string& arguments);
    void ExpectTooltip(const std::string& arguments);
    enum class Answer { Click, ClickUnowned, EnterKey };
    void AnswerMessage(const std::string& arguments, Answer how);
    void ExpectFocus(const std::string& target);
    void ExpectSelection(const std::string& arguments);
    void Browse(const std::string& choice);
    void ExpectNoMessage();
    void Snapshot(const std::string& name);
    void SnapshotMessage(const std::string& name);
    void ExpectExit(const std::string& code);

    // Waits for a control of the current page that satisfies `ready` (which explains itself in
    // `found` when it does not) and answers it.
    HWND WaitForControl(
        const std::string& target, const std::string& expected,
        const std::function<bool(HWND control, HWND page, std::string& found)>& ready);
    // Waits for the page to be the foreground window (input before that is lost).
    HWND WaitForForegroundPage(const std::string& expected);
    // The control of `window`'s thread that has the keyboard focus; nullptr when none has.
    static HWND FocusedControl(HWND window);
    // Posts a key press and release to `control`, as the keyboard would.
    static void PostKey(HWND control, UINT virtualKey);
    // Waits until the wizard has handled everything posted to `page` so far.
    void WaitUntilHandled(HWND page);
    // Hands the window's rectangle to the screenshot taker and waits until it has taken it.
    void TakeSnapshot(const std::string& name, HWND window);

    DriverOptions options_;
    std::optional<WizardProcess> wizard_;
    std::string title_;  // the base name of the running program: its message boxes' caption
    FileSystemSteps files_;
};

}  // namespace usbwiz
