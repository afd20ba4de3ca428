#include <span>
#include <string_view>

#include "generate/SummaryText.h"
#include "pages/PageLayout.h"
#include "settings/SettingsFields.h"

namespace usbwiz {
namespace {

constexpr std::string_view kCaption = "Custom USB Driver Installation Wizard";
constexpr int kDialogWidth = 300;
constexpr int kDialogHeight = 204;

// Every control starts from its id, kind, text and rectangle; the helpers below add the rest.
constexpr ControlLayout Control(int id, ControlKind kind, std::string_view text, int x, int y,
                                int width, int height) {
    return {.id = id, .kind = kind, .text = text, .x = x, .y = y, .width = width, .height = height};
}

// The frame every page shares.
constexpr ControlLayout Banner() {
    return Control(kNoControlId, ControlKind::Banner, "", 7, 7, 39, 190);
}
constexpr ControlLayout CancelButton() {
    return Control(kCancelButton, ControlKind::PushButton, "Cancel", 132, 183, 50, 14);
}
constexpr ControlLayout BackButton() {
    return Control(kBackButton, ControlKind::PushButton, "< Back", 188, 183, 50, 14);
}
constexpr ControlLayout NextButton(int id = kNextButton, std::string_view text = "Next >") {
    return Control(id, ControlKind::DefaultButton, text, 243, 183, 50, 14);
}

constexpr ControlLayout Label(int x, int y, int width, int height, std::string_view text,
                              int id = kNoControlId) {
    return Control(id, ControlKind::Label, text, x, y, width, height);
}
// An edit takes as many characters as the record's field behind it may hold; the name and
// directory edits are 131 by 14 unless given otherwise.
constexpr ControlLayout Edit(int id, std::string WizardSettings::*field, int x, int y,
                             int width = 131) {
    ControlLayout edit = Control(id, ControlKind::Edit, "", x, y, width, 14);
    edit.field = field;
    edit.maxLength = FieldLimit(field);
    return edit;
}
// The USB identifier edits upper-case what is typed.
constexpr ControlLayout HexEdit(int id, std::string WizardSettings::*field, int x, int y) {
    ControlLayout edit = Edit(id, field, x, y, 40);
    edit.upperCase = true;
    return edit;
}
constexpr ControlLayout HelpButton(int id, int x, int y, bool hidden = false) {
    ControlLayout button = Control(id, ControlKind::PushButton, "?", x, y, 10, 10);
    button.hidden = hidden;
    return button;
}
constexpr ControlLayout CheckBox(int id, int x, int y, int width, std::string_view text,
                                 bool hidden = false) {
    ControlLayout box = Control(id, ControlKind::CheckBox, text, x, y, width, 10);
    box.hidden = hidden;
    return box;
}
constexpr ControlLayout Radio(int id, int x, int y, int width, int height, std::string_view text,
                              bool firstOfGroup) {
    ControlLayout radio = Control(id, ControlKind::RadioButton, text, x, y, width, height);
    radio.multiline = true;
    radio.group = firstOfGroup;
    return radio;
}
constexpr ControlLayout GroupBox(int x, int y, int width, int height, std::string_view text) {
    return Control(kNoControlId, ControlKind::GroupBox, text, x, y, width, height);
}

constexpr ControlLayout kWelcome[] = {
    Banner(),
    Control(kNoControlId, ControlKind::Icon, "", 269, 7, 21, 20),
    Label(56, 7, 160, 16, "Custom USB Driver Installation Wizard\nVersion 3.1"),
    Label(100, 36, 190, 32,
          "Welcome the the USB Custom Driver Installation Wizard. Please select which type of "
          "custom driver installation package to create:"),
    Radio(kComPortKindButton, 112, 74, 170, 20, "Virtual COM Port Driver Installation\n(KR550x)",
          true),
    Radio(kFerrolinkKindButton, 112, 98, 170, 20,
          "Ferrolink Driver Installation\n(KR550x or KM7720x)", false),
    CancelButton(),
    NextButton(kWelcomeNextButton),
};

constexpr ControlLayout kWarning[] = {
    Banner(),
    Label(91, 25, 148, 33,
          "WARNING: This Custom Setup Wizard will generate a custom installation for the KR550x. "
          "As a result the driver installation will no longer be certified for Microsoft Windows "
          "XP/2000."),
    Label(91, 58, 148, 20,
          "Certification must be performed by Microsoft for the new driver installation."),
    Label(91, 85, 154, 32,
          "Note: An uncertified installation will not cause any problems other than the warning "
          "message displayed by Win XP when installing uncertified drivers."),
    // Taller than the other texts: the vendor's address needs two lines, and the maker's must
    // not be cut off below it.
    Label(91, 132, 154, 42,
          "For more info on Windows XP Certification goto:\n"
          "  https://learn.microsoft.com/windows-hardware/drivers/install/"
          "driver-signing\n"
          "  https://www.example.com/"),
    CancelButton(),
    BackButton(),
    NextButton(kWelcomeNextButton),
};

constexpr ControlLayout kComNames[] = {
    Banner(),
    Label(62, 8, 150, 8, "Name for Uninstall File:"),
    Edit(kUninstallNameEdit, &WizardSettings::UninstallName, 81, 19),
    Label(82, 35, 211, 16,
          "This name should be unique for every product released.\nExample: \"tarnunin.xxx\""),
    Label(62, 56, 150, 8, "Prefix for .inf File Names:"),
    Edit(kInfPrefixEdit, &WizardSettings::InfPrefix, 82, 67),
    Label(83, 85, 130, 8, "Example: \"tarnxxxx.inf\" "),
    Label(62, 99, 150, 8, "Short Name for .inf File Entries:"),
    Edit(kShortNameEdit, &WizardSettings::ShortName, 81, 110),
    Label(82, 127, 130, 8, "Example: \"tarn\" "),
    Label(62, 141, 150, 8, "Long Name for .inf File Entries:"),
    Edit(kLongNameEdit, &WizardSettings::LongName, 81, 152),
    Label(82, 169, 130, 8, "Example: \"Tarnwell\""),
    CancelButton(),
    BackButton(),
    NextButton(),
};

constexpr ControlLayout kComDeviceNames[] = {
    Banner(),
    Label(62, 33, 150, 8, "COM Device Name:"),
    Edit(kComDeviceNameEdit, &WizardSettings::ComDeviceName, 81, 44),
    Label(82, 61, 211, 32,
          "Example: \"KR550x USB to UART Bridge Controller\" (Name appears in Device Manager "
          "under the Ports tab\nand in the Add/Remove Programs listing)"),
    Label(62, 100, 150, 8, "USB Device Name:"),
    Edit(kUsbDeviceNameEdit, &WizardSettings::UsbDeviceName, 81, 111),
    Label(82, 128, 211, 24,
          "Example: \"KR550x USB Composite Device\"\n(Name appears in Device Manager under the "
          "USB tab)"),
    CancelButton(),
    BackButton(),
    NextButton(),
};

constexpr ControlLayout kComIds[] = {
    Banner(),
    Label(62, 33, 150, 8, "VID (Vendor ID):"),
    HexEdit(kVidEdit, &WizardSettings::Vid, 81, 44),
    Label(82, 61, 200, 8, "Example: 4E2B (Hex value for device recognition)"),
    Label(62, 100, 150, 8, "PID (Product ID):"),
    HexEdit(kPidEdit, &WizardSettings::Pid, 81, 111),
    Label(82, 128, 200, 8, "Example: C730 (Hex value for device recognition)"),
    CancelButton(),
    BackButton(),
    NextButton(),
};

constexpr ControlLayout kFerrolinkNames[] = {
    Banner(),
    Label(62, 6, 150, 8, "Name for Uninstall File:"),
    Edit(kUninstallNameEdit, &WizardSettings::UninstallName, 81, 16),
    Label(217, 18, 81, 8, "Example: \"tarnunin.xxx\""),
    Label(82, 31, 211, 8, "*This name should be unique for every product released."),
    Label(62, 43, 150, 8, "File Name for .inf File:"),
    Edit(kInfNameEdit, &WizardSettings::InfName, 82, 54),
    Label(217, 57, 81, 8, "Example: \"tnfrlnk.inf\" "),
    Label(62, 77, 150, 8, "File Name for .sys Driver File:"),
    Edit(kSysNameEdit, &WizardSettings::SysName, 81, 88),
    Label(218, 91, 80, 8, "Example: \"tnfrlnk.sys\""),
    Label(62, 111, 150, 8, "Short Name for .inf File Entries:"),
    Edit(kShortNameEdit, &WizardSettings::ShortName, 81, 122),
    Label(217, 125, 81, 8, "Example: \"tarn\" "),
    Label(62, 145, 150, 8, "Long Name for .inf File Entries:"),
    Edit(kLongNameEdit, &WizardSettings::LongName, 81, 156),
    Label(218, 155, 80, 16, "Example: \"Tarnwell\""),
    CancelButton(),
    BackButton(),
    NextButton(),
};

constexpr ControlLayout kFerrolinkDeviceName[] = {
    Banner(),
    Label(62, 58, 150, 8, "USB Device Name:"),
    Edit(kUsbDeviceNameEdit, &WizardSettings::UsbDeviceName, 81, 69),
    Label(82, 86, 211, 32,
          "Example: \"Ferrolink Device\"\n(Name appears in Device Manager under the USB tab and "
          "in the Add/Remove Programs listing)"),
    CancelButton(),
    BackButton(),
    NextButton(),
};

constexpr ControlLayout kFerrolinkIds[] = {
    Banner(),
    Label(62, 34, 150, 8, "VID (Vendor ID):"),
    HexEdit(kVidEdit, &WizardSettings::Vid, 81, 45),
    Label(82, 61, 200, 8, "Example: 4E2B (Hex value for device recognition)"),
    Label(62, 101, 150, 8, "PID (Product ID):"),
    HexEdit(kPidEdit, &WizardSettings::Pid, 81, 111),
    Label(82, 128, 200, 8, "Example: C731 (Hex value for device recognition)"),
    CancelButton(),
    BackButton(),
    NextButton(),
};

constexpr ControlLayout kOptions[] = {
    Banner(),
    GroupBox(54, 7, 239, 120, "Preinstaller Options"),
    HelpButton(kUsePreinstallerHelp, 61, 21),
    CheckBox(kUsePreinstallerBox, 77, 21, 150, "Generate a Preinstaller program"),
    HelpButton(kDisplaySetupHelp, 61, 35),
    CheckBox(kDisplaySetupBox, 77, 36, 150, "Display GUI window during Setup"),
    HelpButton(kCopyFilesHelp, 61, 51),
    CheckBox(kCopyFilesBox, 77, 51, 160, "Copy Files to Directory during Setup"),
    HelpButton(kTargetDirectoryHelp, 61, 67),
    Label(79, 67, 80, 8, "Target Directory:", kTargetDirectoryLabel),
    Edit(kTargetDirectoryEdit, &WizardSettings::TargetDirectory, 89, 78, 174),
    Label(90, 95, 196, 24,
          "Example: \"C:\\Program Files\\Vexmor\\Product Name\"\n\nNote: This MUST be different "
          "for each product released.",
          kTargetDirectoryNote),
    GroupBox(54, 130, 239, 49, "Uninstaller Options"),
    HelpButton(kDisplayUninstallHelp, 61, 151),
    CheckBox(kDisplayUninstallBox, 77, 151, 160, "Display GUI window during Uninstall"),
    // Never shown: the box only carries LeaveFiles through the page.
    HelpButton(kLeaveFilesHelp, 61, 165, true),
    CheckBox(kLeaveFilesBox, 77, 165, 160, "Leave Source during Uninstall", true),
    CancelButton(),
    BackButton(),
    NextButton(),
};

constexpr ControlLayout kCertification[] = {
    Banner(),
    Label(62, 10, 228, 8, "Do you plan to get WHQL certification for this driver?"),
    Radio(kPlanCertificationButton, 62, 26, 228, 32,
          "Yes I plan to get WHQL Certification (When you obtain WHQL certification put the "
          "catalog files in the same location that your Custom Setup is generated in [selected "
          "in next page]).",
          true),
    Radio(kDefaultCatalogsButton, 62, 62, 228, 24,
          "I want to use the default catalog files (For this option all string entries and VID "
          "and PID must be set to default)",
          false),
    Radio(kNoCertificationButton, 62, 92, 228, 32,
          "No, I do not want any WHQL Certification (This option will cause dialogs in Windows "
          "XP to appear notifying that the driver is not certified)",
          false),
    Label(62, 132, 228, 26,
          "For more info on WHQL Certification goto:\n"
          "  https://learn.microsoft.com/windows-hardware/drivers/install/"
          "driver-signing\n"
          "  https://www.example.com/"),
    CancelButton(),
    BackButton(),
    NextButton(),
};

constexpr ControlLayout kOutputDirectory[] = {
    Banner(),
    Label(62, 40, 178, 18,
          "Specify the directory where you want the Custom Setup files generated:"),
    Edit(kOutputDirectoryEdit, &WizardSettings::GenerationDirectory, 74, 64, 158),
    Control(kBrowseButton, ControlKind::PushButton, "Browse...", 237, 64, 50, 14),
    Label(80, 90, 126, 32,
          "Note: This is also the location where you should put catalog files for "
          "certification if your driver is certified.."),
    CancelButton(),
    BackButton(),
    NextButton(),
};

constexpr ControlLayout kSummary[] = {
    Banner(),
    Label(69, 9, 80, 170, kComPortSummaryLabels, kSummaryLabels),
    Control(kSummaryValues, ControlKind::ReadOnlyText, "", 155, 9, 138, 170),
    CancelButton(),
    BackButton(),
    NextButton(kNextButton, "Finish"),
};

constexpr PageLayout Layout(PageId page, std::span<const ControlLayout> controls,
                            bool appWindowStyle = false) {
    return {page, kCaption, kDialogWidth, kDialogHeight, appWindowStyle, controls};
}

constexpr PageLayout kLayouts[] = {
    Layout(PageId::Welcome, kWelcome, true),
    Layout(PageId::Warning, kWarning),
    Layout(PageId::ComNames, kComNames),
    Layout(PageId::ComDeviceNames, kComDeviceNames),
    Layout(PageId::ComIds, kComIds),
    Layout(PageId::FerrolinkNames, kFerrolinkNames),
    Layout(PageId::FerrolinkDeviceName, kFerrolinkDeviceName),
    Layout(PageId::FerrolinkIds, kFerrolinkIds),
    Layout(PageId::Options, kOptions),
    Layout(PageId::Certification, kCertification),
    Layout(PageId::OutputDirectory, kOutputDirectory),
    Layout(PageId::Summary, kSummary),
};

}  // namespace

const PageLayout& LayoutOf(PageId page) {
    for (const PageLayout& layout : kLayouts)
        if (layout.page == page) return layout;
    // Every enumerator has a layout above; an id outside the enumeration gets the welcome page
    // rather than undefined behaviour.
    return kLayouts[0];
}

std::string_view LabelOf(PageId page, int controlId) {
    const std::span<const ControlLayout> controls = LayoutOf(page).controls;
    for (std::size_t i = 1; i < controls.size(); ++i) {
        if (controls[i].id != controlId || controls[i - 1].kind != ControlKind::Label) continue;
        std::string_view label = controls[i - 1].text;
        if (label.ends_with(':')) label.remove_suffix(1);
        return label;
    }
    return {};
}

}  // namespace usbwiz
