#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>

#include "generate/SummaryText.h"
#include "pages/PageLayout.h"
#include "settings/SettingsFields.h"

namespace usbwiz {
namespace {

std::string Name(PageId page) {
    return std::to_string(static_cast<int>(page));
}

const ControlLayout* FindControl(PageId page, int id) {
    for (const ControlLayout& control : LayoutOf(page).controls)
        if (control.id == id) return &control;
    return nullptr;
}

// Static texts have no id; they are found by where they stand.
const ControlLayout* FindAt(PageId page, int x, int y) {
    for (const ControlLayout& control : LayoutOf(page).controls)
        if (control.x == x && control.y == y) return &control;
    return nullptr;
}

TEST(LayoutsTest, EveryPageHasItsOwnFrameOfThreeHundredByTwoHundredFour) {
    for (PageId page : kAllPages) {
        SCOPED_TRACE(Name(page));
        const PageLayout& layout = LayoutOf(page);
        EXPECT_EQ(layout.page, page);
        EXPECT_EQ(layout.caption, "Custom USB Driver Installation Wizard");
        EXPECT_EQ(layout.width, 300);
        EXPECT_EQ(layout.height, 204);
        EXPECT_EQ(layout.appWindowStyle, page == PageId::Welcome);
    }
}

TEST(LayoutsTest, ControlsStayInsideTheDialogAndIdsAreUnique) {
    for (PageId page : kAllPages) {
        SCOPED_TRACE(Name(page));
        std::set<int> ids;
        int defaultButtons = 0;
        for (const ControlLayout& control : LayoutOf(page).controls) {
            SCOPED_TRACE(std::string(control.text));
            EXPECT_GE(control.x, 0);
            EXPECT_GE(control.y, 0);
            EXPECT_GT(control.width, 0);
            EXPECT_GT(control.height, 0);
            EXPECT_LE(control.x + control.width, 300);
            EXPECT_LE(control.y + control.height, 204);
            EXPECT_EQ(control.text.find('\r'), std::string_view::npos);
            if (control.id != kNoControlId) {
                EXPECT_TRUE(ids.insert(control.id).second);
            }
            if (control.kind == ControlKind::DefaultButton) ++defaultButtons;
        }
        EXPECT_EQ(defaultButtons, 1);
    }
}

TEST(LayoutsTest, BannerAndBottomButtonsSitWhereEveryPageHasThem) {
    struct Frame {
        PageId page;
        int nextId;
        std::string_view nextText;
        bool hasBack;
    };
    const Frame frames[] = {
        {PageId::Welcome, kWelcomeNextButton, "Next >", false},
        {PageId::Warning, kWelcomeNextButton, "Next >", true},
        {PageId::ComNames, kNextButton, "Next >", true},
        {PageId::ComDeviceNames, kNextButton, "Next >", true},
        {PageId::ComIds, kNextButton, "Next >", true},
        {PageId::FerrolinkNames, kNextButton, "Next >", true},
        {PageId::FerrolinkDeviceName, kNextButton, "Next >", true},
        {PageId::FerrolinkIds, kNextButton, "Next >", true},
        {PageId::Options, kNextButton, "Next >", true},
        {PageId::Certification, kNextButton, "Next >", true},
        {PageId::OutputDirectory, kNextButton, "Next >", true},
        {PageId::Summary, kNextButton, "Finish", true},
    };
    for (const Frame& frame : frames) {
        SCOPED_TRACE(Name(frame.page));
        const ControlLayout* banner = FindAt(frame.page, 7, 7);
        ASSERT_NE(banner, nullptr);
        EXPECT_EQ(banner->kind, ControlKind::Banner);
        EXPECT_EQ(banner->width, 39);
        EXPECT_EQ(banner->height, 190);

        const ControlLayout* next = FindControl(frame.page, frame.nextId);
        ASSERT_NE(next, nullptr);
        EXPECT_EQ(next->kind, ControlKind::DefaultButton);
        EXPECT_EQ(next->text, frame.nextText);
        EXPECT_EQ(next->x, 243);
        EXPECT_EQ(next->y, 183);

        const ControlLayout* cancel = FindControl(frame.page, kCancelButton);
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text, "Cancel");
        EXPECT_EQ(cancel->x, 132);
        EXPECT_EQ(cancel->y, 183);

        const ControlLayout* back = FindControl(frame.page, kBackButton);
        ASSERT_EQ(back != nullptr, frame.hasBack);
        if (back != nullptr) {
            EXPECT_EQ(back->text, "< Back");
            EXPECT_EQ(back->x, 188);
            EXPECT_EQ(back->y, 183);
        }
        for (const ControlLayout* button : {next, cancel, back}) {
            if (button == nullptr) continue;
            EXPECT_EQ(button->width, 50);
            EXPECT_EQ(button->height, 14);
        }
    }
}

// Each edit shows its field and takes at most the field's longest text.
TEST(LayoutsTest, EditsTakeAtMostTheirFieldsLongestText) {
    struct EditField {
        PageId page;
        int id;
        std::string_view field;
        int maxLength;
        bool upperCase;
    };
    const EditField edits[] = {
        {PageId::ComNames, kUninstallNameEdit, "UninstallName", 8, false},
        {PageId::ComNames, kInfPrefixEdit, "InfPrefix", 4, false},
        {PageId::ComNames, kShortNameEdit, "ShortName", 31, false},
        {PageId::ComNames, kLongNameEdit, "LongName", 255, false},
        {PageId::ComDeviceNames, kComDeviceNameEdit, "ComDeviceName", 255, false},
        {PageId::ComDeviceNames, kUsbDeviceNameEdit, "UsbDeviceName", 255, false},
        {PageId::ComIds, kVidEdit, "Vid", 4, true},
        {PageId::ComIds, kPidEdit, "Pid", 4, true},
        {PageId::FerrolinkNames, kUninstallNameEdit, "UninstallName", 8, false},
        {PageId::FerrolinkNames, kInfNameEdit, "InfName", 8, false},
        {PageId::FerrolinkNames, kSysNameEdit, "SysName", 8, false},
        {PageId::FerrolinkNames, kShortNameEdit, "ShortName", 31, false},
        {PageId::FerrolinkNames, kLongNameEdit, "LongName", 255, false},
        {PageId::FerrolinkDeviceName, kUsbDeviceNameEdit, "UsbDeviceName", 255, false},
        {PageId::FerrolinkIds, kVidEdit, "Vid", 4, true},
        {PageId::FerrolinkIds, kPidEdit, "Pid", 4, true},
        {PageId::Options, kTargetDirectoryEdit, "TargetDirectory", 260, false},
        {PageId::OutputDirectory, kOutputDirectoryEdit, "GenerationDirectory", 260, false},
    };
    std::size_t editCount = 0;
    for (PageId page : kAllPages)
        for (const ControlLayout& control : LayoutOf(page).controls)
            if (control.kind == ControlKind::Edit) ++editCount;
    EXPECT_EQ(editCount, std::size(edits));

    for (const EditField& edit : edits) {
        SCOPED_TRACE(Name(edit.page) + " " + std::to_string(edit.id));
        const ControlLayout* control = FindControl(edit.page, edit.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->kind, ControlKind::Edit);
        const TextField* field = FindTextField(edit.field);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(control->field, field->member);
        EXPECT_EQ(control->maxLength, edit.maxLength);
        EXPECT_EQ(control->upperCase, edit.upperCase);
        EXPECT_EQ(control->height, 14);
    }
}

TEST(LayoutsTest, OnlyTheLeaveFilesBoxAndItsHelpButtonStartHidden) {
    std::set<std::pair<PageId, int>> hidden;
    for (PageId page : kAllPages)
        for (const ControlLayout& control : LayoutOf(page).controls)
            if (control.hidden) hidden.insert({page, control.id});
    const std::set<std::pair<PageId, int>> expected{{PageId::Options, kLeaveFilesHelp},
                                                    {PageId::Options, kLeaveFilesBox}};
    EXPECT_EQ(hidden, expected);
}

TEST(LayoutsTest, KindAndCertificationChoicesAreOneRadioGroupEach) {
    struct Group {
        PageId page;
        std::vector<int> radios;
    };
    const Group groups[] = {
        {PageId::Welcome, {kComPortKindButton, kFerrolinkKindButton}},
        {PageId::Certification,
         {kPlanCertificationButton, kDefaultCatalogsButton, kNoCertificationButton}}};
    for (const Group& group : groups) {
        std::vector<int> radios;
        for (const ControlLayout& control : LayoutOf(group.page).controls) {
            if (control.kind != ControlKind::RadioButton) continue;
            radios.push_back(control.id);
            EXPECT_EQ(control.group, radios.size() == 1);
            EXPECT_TRUE(control.multiline);
        }
        EXPECT_EQ(radios, group.radios);
    }
    const ControlLayout* icon = nullptr;
    for (const ControlLayout& control : LayoutOf(PageId::Welcome).controls)
        if (control.kind == ControlKind::Icon) icon = &control;
    ASSERT_NE(icon, nullptr);
}

// Tab goes through a page as it reads: row by row from the top (controls whose rectangles share
// a line are one row), left to right within a row.
TEST(LayoutsTest, TabStopsFollowTheReadingOrder) {
    const auto readsBefore = [](const ControlLayout& a, const ControlLayout& b) {
        const bool oneRow = a.y < b.y + b.height && b.y < a.y + a.height;
        return oneRow ? a.x < b.x : a.y < b.y;
    };
    for (PageId page : kAllPages) {
        SCOPED_TRACE(Name(page));
        const ControlLayout* previous = nullptr;
        for (const ControlLayout& control : LayoutOf(page).controls) {
            if (!IsTabStop(control)) continue;
            if (previous != nullptr) {
                EXPECT_TRUE(readsBefore(*previous, control))
                    << previous->id << " before " << control.id;
            }
            previous = &control;
        }
    }
}

TEST(LayoutsTest, SummaryLabelColumnStartsWithTheVirtualComPortLabels) {
    const ControlLayout* labels = FindControl(PageId::Summary, kSummaryLabels);
    ASSERT_NE(labels, nullptr);
    EXPECT_EQ(labels->text, SummaryLabelText(Package::ComPort));
    const ControlLayout* values = FindControl(PageId::Summary, kSummaryValues);
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(values->kind, ControlKind::ReadOnlyText);
    EXPECT_EQ(labels->y, values->y);
    EXPECT_EQ(labels->height, values->height);
}

}  // namespace
}  // namespace usbwiz
