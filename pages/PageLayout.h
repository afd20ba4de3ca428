#pragma once

#include <span>
#include <string_view>

#include "pages/ControlIds.h"
#include "pages/PageId.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

// The controls of every dialog template, as data defined once: the Win32 host builds real
// dialog templates from it and the scripted test host builds its in-memory controls from it.
// Positions and sizes are in dialog units.

inline constexpr int kNoControlId = -1;  // static texts nobody addresses

enum class ControlKind {
    Label,         // static text, left-aligned, wraps within its rectangle
    Edit,          // single-line, bordered, scrolls horizontally
    ReadOnlyText,  // multi-line read-only edit without border, scrolls horizontally
    PushButton,
    DefaultButton,
    CheckBox,     // automatic
    RadioButton,  // automatic; `group` starts a new group
    GroupBox,
    Banner,  // sunken picture control showing bitmap 132
    Icon,    // static icon showing icon 128
};

struct ControlLayout {
    int id;
    ControlKind kind;
    std::string_view text;
    int x, y, width, height;
    int maxLength = 0;       // edits: the most characters the box takes; 0 for none
    bool upperCase = false;  // edits: letters typed become upper case
    bool password = false;   // edits: show no characters of what is typed
    bool hidden = false;     // created hidden
    bool multiline = false;  // buttons whose text has two lines
    bool group = false;      // first control of a radio group
    std::string WizardSettings::*field = nullptr;  // edits: the record's field they show
};

// Whether Tab stops at the control: edits, buttons, check boxes and the first radio button of
// each group (the arrow keys move within the group).
constexpr bool IsTabStop(const ControlLayout& control) {
    switch (control.kind) {
        case ControlKind::Edit:
        case ControlKind::PushButton:
        case ControlKind::DefaultButton:
        case ControlKind::CheckBox:
            return true;
        case ControlKind::RadioButton:
            return control.group;
        default:
            return false;
    }
}

struct PageLayout {
    PageId page;
    std::string_view caption;  // "Custom USB Driver Installation Wizard"
    int width, height;         // 300 by 204
    bool appWindowStyle;       // the template carries WS_EX_APPWINDOW itself (welcome page)
    std::span<const ControlLayout> controls;
};

// The layout of a page's template; every PageId has one.
const PageLayout& LayoutOf(PageId page);

// The label standing right before a page's control, without its colon, for messages that name
// the field ("Name for Uninstall File"); empty when the control has none.
std::string_view LabelOf(PageId page, int controlId);

}  // namespace usbwiz
