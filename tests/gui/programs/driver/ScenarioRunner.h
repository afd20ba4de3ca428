#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "Scenario.h"
#include "WizardProcess.h"
#include "WizardWindows.h"

namespace usbwiz {

struct DriverOptions {
    std::chrono::milliseconds stepTimeout{20000};
    std::string snapshotFolder;  // empty: snapshot steps are skipped
};

// Plays a scenario against the running wizard. Every step waits, by polling until a deadline,
// for the state it needs; the first step that does not get it fails the scenario with what it
// expected and what it found.
//
// Steps (ID is a control id, or next / finish / back / cancel on the current page):
//   page NAME              wait until the wizard shows page NAME and no message box
//   click ID               press a visible, enabled button once its page is the foreground window
//   type ID TEXT           type TEXT into a control, character by character (WM_CHAR)
//   clear ID               select all of an edit's text and delete it, as typing would
//   key enter|escape|tab   press a key in the control that has the focus
//   expect-text ID TEXT    the control's text is exactly TEXT
//   expect-checked ID yes|no
//   expect-visible ID yes|no
//   message ANSWER TEXT    wait for a message box saying TEXT and press ok, yes, no or cancel
//   snapshot NAME          hand the page's client area to the screenshot taker (--snapshots)
//   exit CODE              wait until the wizard has ended with exit code CODE
class ScenarioRunner {
  public:
    ScenarioRunner(WizardProcess& wizard, DriverOptions options)
        : wizard_(wizard), options_(std::move(options)) {}

    // Runs the steps in order, stopping at the first failure; answers whether all passed.
    bool Run(const std::vector<Step>& steps);

  private:
    using Probe = std::function<bool(std::string& found)>;

    void RunStep(const Step& step);
    void WaitUntil(const std::string& expected, const Probe& probe, bool wizardMayEnd = false);

    void WaitForPage(const std::string& name);
    void Click(const std::string& target);
    void Type(const std::string& arguments);
    void Clear(const std::string& target);
    void PressKey(const std::string& key);
    void ExpectText(const std::string& arguments);
    void ExpectChecked(const std::string& arguments);
    void ExpectVisible(const std::string& arguments);
    void AnswerMessage(const std::string& arguments);
    void Snapshot(const std::string& name);
    void ExpectExit(const std::string& code);

    // Waits for a control of the current page that satisfies `ready` (which explains itself in
    // `found` when it does not) and answers it.
    HWND WaitForControl(
        const std::string& target, const std::string& expected,
        const std::function<bool(HWND control, HWND page, std::string& found)>& ready);

    WizardProcess& wizard_;
    DriverOptions options_;
};

}  // namespace usbwiz
