#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "app/PageChain.h"
#include "payload/PayloadStore.h"
#include "tests/support/RecordingPlatform.h"
#include "tests/support/ScriptedPageHost.h"

namespace usbwiz::testing {

// Runs the whole wizard, or a single page, from a user's script against an in-memory platform
// whose C: drive already holds the default output directories of both kinds.
class WizardTest : public ::testing::Test {
  protected:
    WizardTest() {
        platform.directories = {"C:\\", "C:\\Vexmor", "C:\\Vexmor\\MCU",
                                "C:\\Vexmor\\MCU\\CustomKR550xDriverInstall",
                                "C:\\Vexmor\\MCU\\CustomFerrolinkDriverInstall"};
    }

    ScriptedPageRunner RunWizard(std::vector<UserAction> script,
                                 std::deque<MessageAnswer> answers = {}) {
        ScriptedPageRunner runner(std::move(script), std::move(answers));
        RunPageChain(runner, services);
        return runner;
    }

    // One page on its own, created with `settings`.
    ScriptedPageRunner RunPage(PageId page, const WizardSettings& settings,
                               std::vector<UserAction> script,
                               std::deque<MessageAnswer> answers = {}) {
        ScriptedPageRunner runner(std::move(script), std::move(answers));
        const std::unique_ptr<Page> created = CreatePage(page, settings, services);
        runner.Run(*created);
        return runner;
    }

    WizardSettings Defaults(Package kind) {
        WizardSettings settings;
        ApplyPackageDefaults(settings, kind, platform.WindowsDirectory());
        return settings;
    }

    RecordingPlatform platform;
    PageServices services{platform, EmbeddedPayloads()};
};

// Scripts that walk the wizard forward with the defaults of a kind.
inline std::vector<UserAction> Then(std::vector<UserAction> first,
                                    const std::vector<UserAction>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}
inline std::vector<UserAction> Nexts(int count) {
    return std::vector<UserAction>(static_cast<std::size_t>(count), Click(kNextButton));
}
// Welcome, then the warning page, to the COM port names page.
inline std::vector<UserAction> ToComNames() {
    return {Click(kComPortKindButton), Click(kWelcomeNextButton), Click(kWelcomeNextButton)};
}
inline std::vector<UserAction> ToFerrolinkNames() {
    return {Click(kFerrolinkKindButton), Click(kWelcomeNextButton)};
}
// From the names page of either kind to the options page.
inline std::vector<UserAction> ToOptions(Package kind) {
    return Then(kind == Package::ComPort ? ToComNames() : ToFerrolinkNames(), Nexts(3));
}

// Replaces the text of an edit as a user would: select all, type.
inline std::vector<UserAction> Retype(int controlId, const std::string& text) {
    return {Clear(controlId), Type(controlId, text)};
}

inline std::string TextAtEnd(const PageVisit& visit, int controlId) {
    return visit.controlsAtEnd.at(controlId).text;
}
inline std::string TextAtOpen(const PageVisit& visit, int controlId) {
    return visit.controlsAtOpen.at(controlId).text;
}

}  // namespace usbwiz::testing
