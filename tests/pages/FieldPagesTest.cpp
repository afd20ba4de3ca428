#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "settings/InputRules.h"
#include "tests/pages/WizardTestHarness.h"

namespace usbwiz::testing {
namespace {

using P = PageId;

std::vector<UserAction> ToPage(PageId page) {
    switch (page) {
        case P::ComNames:
            return ToComNames();
        case P::ComDeviceNames:
            return Then(ToComNames(), Nexts(1));
        case P::ComIds:
            return Then(ToComNames(), Nexts(2));
        case P::FerrolinkNames:
            return ToFerrolinkNames();
        case P::FerrolinkDeviceName:
            return Then(ToFerrolinkNames(), Nexts(1));
        case P::FerrolinkIds:
            return Then(ToFerrolinkNames(), Nexts(2));
        default:
            return {};
    }
}

PageId NextOf(PageId page) {
    switch (page) {
        case P::ComNames:
            return P::ComDeviceNames;
        case P::ComDeviceNames:
            return P::ComIds;
        case P::FerrolinkNames:
            return P::FerrolinkDeviceName;
        case P::FerrolinkDeviceName:
            return P::FerrolinkIds;
        default:
            return P::Options;
    }
}

PageId BackOf(PageId page) {
    switch (page) {
        case P::ComNames:
            return P::Warning;
        case P::ComDeviceNames:
            return P::ComNames;
        case P::ComIds:
            return P::ComDeviceNames;
        case P::FerrolinkNames:
            return P::Welcome;
        case P::FerrolinkDeviceName:
            return P::FerrolinkNames;
        default:
            return P::FerrolinkDeviceName;
    }
}

struct Edits {
    std::string name;
    friend std::ostream& operator<<(std::ostream& os, const Edits& c) { return os << c.name; }
    PageId page;
    std::vector<std::pair<int, std::string>> texts;  // typed over the defaults
    std::string message;                             // empty: Next passes
};

std::vector<UserAction> Typing(const Edits& c) {
    std::vector<UserAction> actions;
    for (const auto& [id, text] : c.texts) actions = Then(actions, Retype(id, text));
    return actions;
}

const std::string kBlanks(kFillInAllBlanksMessage);
const std::string kHex(kInvalidHexMessage);

const std::vector<Edits>& CheckCases() {
    static const std::vector<Edits> cases{
        {"ComNamesDefaults", P::ComNames, {}, ""},
        {"ComNamesNoUninstallName", P::ComNames, {{kUninstallNameEdit, ""}}, kBlanks},
        {"ComNamesNoPrefix", P::ComNames, {{kInfPrefixEdit, ""}}, kBlanks},
        {"ComNamesNoShortName", P::ComNames, {{kShortNameEdit, ""}}, kBlanks},
        {"ComNamesNoLongName", P::ComNames, {{kLongNameEdit, ""}}, kBlanks},
        {"ComNamesAllEmptyOneMessage",
         P::ComNames,
         {{kUninstallNameEdit, ""},
          {kInfPrefixEdit, ""},
          {kShortNameEdit, ""},
          {kLongNameEdit, ""}},
         kBlanks},
        {"ComNamesSpaceIsNotBlank", P::ComNames, {{kShortNameEdit, " "}}, ""},
        // After the blanks, each field's name rules, in page order, naming the field.
        {"ComNamesUnsafeName",
         P::ComNames,
         {{kUninstallNameEdit, "a*b?"}, {kInfPrefixEdit, "<|>"}},
         "Name for Uninstall File: '*' is not allowed (Windows file names cannot hold it)."},
        {"ComNamesBlankBeforeUnsafe",
         P::ComNames,
         {{kUninstallNameEdit, "..\\x"}, {kLongNameEdit, ""}},
         kBlanks},
        {"ComNamesUnsafePrefix",
         P::ComNames,
         {{kInfPrefixEdit, " ab"}},
         "Prefix for .inf File Names: a blank at the start is not allowed (Setup drops it when "
         "it reads the INF file)."},
        {"ComNamesEdgeNamesAccepted",
         P::ComNames,
         {{kUninstallNameEdit, "1a.b-_&"},
          {kInfPrefixEdit, "a=b."},
          {kShortNameEdit, "a,b;c]"},
          {kLongNameEdit, " M\xFCller; a,b=c\\ "}},
         ""},
        {"ComDeviceNamesUnsafe",
         P::ComDeviceNames,
         {{kComDeviceNameEdit, "COM%1%"}},
         "COM Device Name: '%' is not allowed (Setup reads %...% as the name of a string)."},
        {"ComDeviceNamesDefaults", P::ComDeviceNames, {}, ""},
        {"ComDeviceNamesNoComName", P::ComDeviceNames, {{kComDeviceNameEdit, ""}}, kBlanks},
        {"ComDeviceNamesNoUsbName", P::ComDeviceNames, {{kUsbDeviceNameEdit, ""}}, kBlanks},
        {"ComIdsDefaults", P::ComIds, {}, ""},
        {"ComIdsVidNotHex", P::ComIds, {{kVidEdit, "4E2G"}}, kHex},
        {"ComIdsVidEmpty", P::ComIds, {{kVidEdit, ""}, {kPidEdit, "C730"}}, kBlanks},
        {"ComIdsPidEmpty", P::ComIds, {{kPidEdit, ""}}, kBlanks},
        {"ComIdsVidEmptyPidNotHex", P::ComIds, {{kVidEdit, ""}, {kPidEdit, "XYZ"}}, kHex},
        {"ComIdsVidNotHexPidEmpty", P::ComIds, {{kVidEdit, "12G4"}, {kPidEdit, ""}}, kHex},
        {"ComIdsOneDigit", P::ComIds, {{kVidEdit, "1"}, {kPidEdit, "2"}}, ""},
        {"FerrolinkNamesDefaults", P::FerrolinkNames, {}, ""},
        {"FerrolinkNamesNoUninstallName", P::FerrolinkNames, {{kUninstallNameEdit, ""}}, kBlanks},
        {"FerrolinkNamesNoInfName", P::FerrolinkNames, {{kInfNameEdit, ""}}, kBlanks},
        {"FerrolinkNamesNoSysName", P::FerrolinkNames, {{kSysNameEdit, ""}}, kBlanks},
        {"FerrolinkNamesNoShortName", P::FerrolinkNames, {{kShortNameEdit, ""}}, kBlanks},
        {"FerrolinkNamesNoLongName", P::FerrolinkNames, {{kLongNameEdit, ""}}, kBlanks},
        {"FerrolinkNamesReservedName",
         P::FerrolinkNames,
         {{kSysNameEdit, "Nul"}},
         "File Name for .sys Driver File: 'Nul' is not allowed (Windows reserves the name for a "
         "device)."},
        {"FerrolinkNamesFileClash",
         P::FerrolinkNames,
         {{kSysNameEdit, "TNLIB"}},
         "File Name for .sys Driver File: 'TNLIB.sys' would be the same file as 'tnlib.sys', "
         "which the package also holds (Windows does not tell upper from lower case)."},
        {"FerrolinkNamesSectionName",
         P::FerrolinkNames,
         {{kShortNameEdit, "a]b"}},
         "Short Name for .inf File Entries: ']' is not allowed (it ends an INF section name)."},
        {"FerrolinkDeviceNameQuote",
         P::FerrolinkDeviceName,
         {{kUsbDeviceNameEdit, "\"x"}},
         "USB Device Name: '\"' is not allowed (it starts or ends a quoted INF string)."},
        {"FerrolinkDeviceNameDefaults", P::FerrolinkDeviceName, {}, ""},
        {"FerrolinkDeviceNameEmpty", P::FerrolinkDeviceName, {{kUsbDeviceNameEdit, ""}}, kBlanks},
        {"FerrolinkIdsDefaults", P::FerrolinkIds, {}, ""},
        {"FerrolinkIdsPidNotHex", P::FerrolinkIds, {{kPidEdit, "C73G"}}, kHex},
        {"FerrolinkIdsVidEmptyPidNotHex",
         P::FerrolinkIds,
         {{kVidEdit, ""}, {kPidEdit, "XYZ"}},
         kHex},
        {"FerrolinkIdsVidEmpty", P::FerrolinkIds, {{kVidEdit, ""}, {kPidEdit, "C731"}}, kBlanks},
    };
    return cases;
}

std::string CaseName(const ::testing::TestParamInfo<Edits>& info) {
    return info.param.name;
}

class NextChecksTest : public WizardTest, public ::testing::WithParamInterface<Edits> {};

// Next stores the typed texts and hands over only when every check passes; the first failing
// check shows its one message and the page stays with the typed text in place.
TEST_P(NextChecksTest, ShowsTheFirstFailingCheckOrHandsOver) {
    const Edits& c = GetParam();
    const ScriptedPageRunner runner = RunWizard(Then(Then(ToPage(c.page), Typing(c)), Nexts(1)));

    if (c.message.empty()) {
        EXPECT_TRUE(runner.Messages().empty());
        ASSERT_EQ(runner.LastVisit().page, NextOf(c.page));
        const WizardSettings& handed = runner.LastVisit().settingsAtOpen;
        for (const auto& [id, text] : c.texts)
            EXPECT_EQ(runner.Visits()[runner.Visits().size() - 2].controlsAtEnd.at(id).text, text);
        EXPECT_EQ(handed, runner.Visits()[runner.Visits().size() - 2].settingsAtEnd);
        return;
    }
    ASSERT_EQ(runner.Messages().size(), 1u);
    EXPECT_EQ(runner.Messages()[0],
              (ShownMessage{c.page, c.message, MessageIcon::None, MessageButtons::Ok}));
    const PageVisit& visit = runner.LastVisit();
    ASSERT_EQ(visit.page, c.page);
    EXPECT_TRUE(visit.leftOpenByScript);
    for (const auto& [id, text] : c.texts) EXPECT_EQ(TextAtEnd(visit, id), text);
}

INSTANTIATE_TEST_SUITE_P(Pages, NextChecksTest, ::testing::ValuesIn(CheckCases()), CaseName);

// A refusal gives the focus to the edit it refused, away from the Next button the click focused,
// so that the view selects its text: one case of each check, by name, with the edit it refuses.
TEST_F(WizardTest, ARefusedEditGetsTheFocus) {
    const std::pair<std::string_view, int> refusals[] = {
        {"ComNamesBlankBeforeUnsafe", kLongNameEdit}, {"ComNamesUnsafePrefix", kInfPrefixEdit},
        {"FerrolinkNamesFileClash", kSysNameEdit},    {"ComIdsVidNotHexPidEmpty", kVidEdit},
        {"ComIdsVidEmptyPidNotHex", kPidEdit},        {"FerrolinkIdsVidEmpty", kVidEdit}};
    for (const auto& [name, refused] : refusals) {
        const Edits& c = *std::find_if(CheckCases().begin(), CheckCases().end(),
                                       [&](const Edits& e) { return e.name == name; });
        const ScriptedPageRunner runner =
            RunWizard(Then(Then(ToPage(c.page), Typing(c)), Nexts(1)));
        EXPECT_EQ(runner.LastVisit().focusAtEnd, refused) << name;
    }
}

class BackWithoutChecksTest : public WizardTest, public ::testing::WithParamInterface<Edits> {};

// Back stores whatever was typed without a check, and the page shows it again when reached by
// Next from the page before.
TEST_P(BackWithoutChecksTest, StoresTheTypedTextsAndShowsThemAgain) {
    const Edits& c = GetParam();
    // The welcome and warning pages have Next under another id.
    const bool plainPageBefore = BackOf(c.page) != P::Welcome && BackOf(c.page) != P::Warning;
    const std::vector<UserAction> comeBack =
        plainPageBefore ? Nexts(1) : std::vector<UserAction>{Click(kWelcomeNextButton)};
    const ScriptedPageRunner runner =
        RunWizard(Then(Then(Then(ToPage(c.page), Typing(c)), {Click(kBackButton)}), comeBack));

    EXPECT_TRUE(runner.Messages().empty());
    const std::vector<PageVisit>& visits = runner.Visits();
    ASSERT_GE(visits.size(), 3u);
    EXPECT_EQ(visits[visits.size() - 2].page, BackOf(c.page));
    const PageVisit& again = visits.back();
    ASSERT_EQ(again.page, c.page);
    for (const auto& [id, text] : c.texts) EXPECT_EQ(TextAtOpen(again, id), text);
    EXPECT_EQ(again.settingsAtOpen, visits[visits.size() - 3].settingsAtEnd);
}

INSTANTIATE_TEST_SUITE_P(Pages, BackWithoutChecksTest, ::testing::ValuesIn(CheckCases()), CaseName);

TEST_F(WizardTest, NamesAndIdsPagesPutTheFocusOnTheirFirstEdit) {
    for (const auto& [page, edit] :
         {std::pair{P::ComNames, kUninstallNameEdit},
          std::pair{P::ComDeviceNames, kComDeviceNameEdit}, std::pair{P::ComIds, kVidEdit},
          std::pair{P::FerrolinkNames, kUninstallNameEdit},
          std::pair{P::FerrolinkDeviceName, kUsbDeviceNameEdit},
          std::pair{P::FerrolinkIds, kVidEdit}}) {
        const ScriptedPageRunner runner = RunWizard(ToPage(page));
        ASSERT_EQ(runner.LastVisit().page, page);
        EXPECT_EQ(runner.LastVisit().focusAtOpen, edit);
    }
}

struct Typed {
    std::string name;
    friend std::ostream& operator<<(std::ostream& os, const Typed& c) { return os << c.name; }
    PageId page;
    int edit;
    std::string keys;
    std::string shown;
};

class TypingTest : public WizardTest, public ::testing::WithParamInterface<Typed> {};

// The edits take no more than their limit and the identifier edits upper-case what is typed;
// what reaches the record is what the edit shows.
TEST_P(TypingTest, EditRefusesKeysBeyondItsLimit) {
    const Typed& c = GetParam();
    const ScriptedPageRunner runner = RunWizard(
        Then(Then(ToPage(c.page), {Clear(c.edit), Type(c.edit, c.keys)}), {Click(kBackButton)}));
    const PageVisit& visit = runner.Visits()[runner.Visits().size() - 2];
    ASSERT_EQ(visit.page, c.page);
    EXPECT_EQ(TextAtEnd(visit, c.edit), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, TypingTest,
    ::testing::Values(
        Typed{"UninstallName", P::ComNames, kUninstallNameEdit, "abcdefghij", "abcdefgh"},
        Typed{"InfPrefix", P::ComNames, kInfPrefixEdit, "abcdef", "abcd"},
        Typed{"ShortName", P::FerrolinkNames, kShortNameEdit, std::string(40, 's'),
              std::string(31, 's')},
        Typed{"InfName", P::FerrolinkNames, kInfNameEdit, "123456789", "12345678"},
        Typed{"Vid", P::ComIds, kVidEdit, "ab12x", "AB12"},
        Typed{"Pid", P::FerrolinkIds, kPidEdit, "c7", "C7"},
        Typed{"NamesKeepCase", P::ComNames, kShortNameEdit, "MixedCase", "MixedCase"}),
    [](const ::testing::TestParamInfo<Typed>& info) { return info.param.name; });

// Coming forward from either IDs page always offers the preinstaller again, whatever the user
// chose on the options page before.
TEST_F(WizardTest, IdsPagesSwitchThePreinstallerBackOn) {
    for (Package kind : {Package::ComPort, Package::Ferrolink}) {
        SCOPED_TRACE(static_cast<int>(kind));
        const ScriptedPageRunner runner = RunWizard(Then(
            ToOptions(kind), {Click(kUsePreinstallerBox), Click(kBackButton), Click(kNextButton)}));
        const std::vector<PageVisit>& visits = runner.Visits();
        ASSERT_EQ(visits.back().page, P::Options);
        const PageVisit& ids = visits[visits.size() - 2];
        EXPECT_EQ(ids.page, kind == Package::ComPort ? P::ComIds : P::FerrolinkIds);
        EXPECT_EQ(ids.settingsAtOpen.UsePreinstaller, 0);
        EXPECT_EQ(visits.back().settingsAtOpen.UsePreinstaller, 1);
        EXPECT_TRUE(visits.back().controlsAtOpen.at(kUsePreinstallerBox).checked);
    }
}

TEST_F(WizardTest, FerrolinkPagesPassTheComPortOnlyFieldsThrough) {
    const ScriptedPageRunner runner = RunWizard(Then(ToOptions(Package::Ferrolink), Nexts(2)));
    ASSERT_EQ(runner.LastVisit().page, P::Summary);
    const WizardSettings& settings = runner.LastVisit().settingsAtOpen;
    EXPECT_EQ(settings.InfPrefix, "");
    EXPECT_EQ(settings.ComDeviceName, "");
    EXPECT_EQ(settings.InfName, "tnfrlnk");
}

}  // namespace
}  // namespace usbwiz::testing
