#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "app/PageChain.h"
#include "generate/PayloadStore.h"
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
        ApplyPackageDefaults(settings, kind, platform);
        return settings;
    }

    RecordingPlatform platform;
    PageServices services{platform, EmbeddedPayloads()};
};

// Ids of the controls the tests address.
inline constexpr int kComPortKind = 1035;
inline constexpr int kFerrolinkKind = 1036;
inline constexpr int kUninstallNameEdit = 1002;
inline constexpr int kInfPrefixEdit = 1008;
inline constexpr int kInfNameEdit = 1038;
inline constexpr int kSysNameEdit = 1037;
inline constexpr int kShortNameEdit = 1003;
inline constexpr int kLongNameEdit = 1005;
inline constexpr int kComDeviceNameEdit = 1009;
inline constexpr int kUsbDeviceNameEdit = 1010;
inline constexpr int kVidEdit = 1011;
inline constexpr int kPidEdit = 1004;
inline constexpr int kUsePreinstallerBox = 1022;
inline constexpr int kDisplaySetupBox = 1016;
inline constexpr int kCopyFilesBox = 1012;
inline constexpr int kTargetDirectoryEdit = 1020;
inline constexpr int kDisplayUninstallBox = 1018;
inline constexpr int kLeaveFilesBox = 1013;
inline constexpr int kOutputDirectoryEdit = 1021;
inline constexpr int kBrowseButton = 1019;
inline constexpr int kSummaryLabels = 1039;
inline constexpr int kSummaryValues = 1025;

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
    return {Click(kComPortKind), Click(kWelcomeNextButton), Click(kWelcomeNextButton)};
}
inline std::vector<UserAction> ToFerrolinkNames() {
    return {Click(kFerrolinkKind), Click(kWelcomeNextButton)};
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
