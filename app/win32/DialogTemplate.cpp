#include "app/win32/DialogTemplate.h"

#include <climits>
#include <cstring>
#include <stdexcept>
#include <string>

#include "app/win32/LineBreaks.h"
#include "app/win32/ResourceIds.h"

namespace usbwiz {

namespace {

constexpr WORD kOrdinalMarker = 0xFFFF;
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
// Kept on purpose: the pages' sizes in dialog units were laid out for this font.
constexpr WORD kFontPoints = 8;
constexpr const char* kFontName = "MS Sans Serif";
constexpr WORD kUnaddressedId = 0xFFFF;

[[noreturn]] void Reject(const PageLayout& layout, const std::string& what) {
    throw std::invalid_argument("layout of page " + std::to_string(static_cast<int>(layout.page)) +
                                ": " + what);
}

// Appends little-endian fields to a growing byte buffer; alignment is relative to the start of
// the template, which the final storage places on a DWORD boundary.
class TemplateWriter {
  public:
    void Word(WORD value) { Append(&value, sizeof value); }
    void Dword(DWORD value) { Append(&value, sizeof value); }
    void Short(short value) { Append(&value, sizeof value); }

    void AlignTo(std::size_t boundary) {
        while (bytes_.size() % boundary != 0) bytes_.push_back(0);
    }

    void Ordinal(WORD value) {
        Word(kOrdinalMarker);
        Word(value);
    }

    // A NUL-terminated UTF-16 string from ANSI text. Template strings are UTF-16 even for the
    // ANSI dialog functions.
    bool Text(std::string_view ansi) {
        if (!ansi.empty()) {
            if (ansi.size() > static_cast<std::size_t>(INT_MAX)) return false;
            const int length = static_cast<int>(ansi.size());
            const int wide = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
            if (wide <= 0) return false;
            std::vector<WCHAR> converted(static_cast<std::size_t>(wide));
            if (MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, converted.data(), wide) != wide)
                return false;
            Append(converted.data(), converted.size() * sizeof(WCHAR));
        }
        Word(0);
        return true;
    }

    DialogTemplate Finish() {
        std::vector<DWORD> storage((bytes_.size() + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
        if (!bytes_.empty()) std::memcpy(storage.data(), bytes_.data(), bytes_.size());
        return DialogTemplate(std::move(storage), bytes_.size());
    }

  private:
    void Append(const void* data, std::size_t size) {
        const auto* first = static_cast<const unsigned char*>(data);
        bytes_.insert(bytes_.end(), first, first + size);
    }

    std::vector<unsigned char> bytes_;
};

short CheckedShort(const PageLayout& layout, int value, const char* what) {
    if (value < SHRT_MIN || value > SHRT_MAX) Reject(layout, std::string(what) + " out of range");
    return static_cast<short>(value);
}

WORD CheckedId(const PageLayout& layout, int id) {
    if (id == kNoControlId) return kUnaddressedId;
    if (id < 0 || id >= kUnaddressedId) Reject(layout, "control id " + std::to_string(id));
    return static_cast<WORD>(id);
}

// Every control but the later buttons of a radio group starts a group of its own, so that the
// arrow keys move only within a radio group.
DWORD ControlStyle(const ControlLayout& c) {
    const DWORD base = WS_CHILD | (c.hidden ? 0 : WS_VISIBLE) | (IsTabStop(c) ? WS_TABSTOP : 0);
    const DWORD lines = c.multiline ? BS_MULTILINE : 0;  // the bit means other things elsewhere
    switch (c.kind) {
        case ControlKind::Label:
            return base | WS_GROUP | SS_LEFT;
        case ControlKind::Edit:
            return base | WS_GROUP | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL |
                   (c.upperCase ? ES_UPPERCASE : 0) | (c.password ? ES_PASSWORD : 0);
        case ControlKind::ReadOnlyText:
            // The edit keeps its scroll bar in step with the text; the host hides it while every
            // line fits.
            return base | WS_GROUP | ES_LEFT | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL |
                   WS_HSCROLL;
        case ControlKind::PushButton:
            return base | WS_GROUP | BS_PUSHBUTTON | lines;
        case ControlKind::DefaultButton:
            return base | WS_GROUP | BS_DEFPUSHBUTTON | lines;
        case ControlKind::CheckBox:
            return base | WS_GROUP | BS_AUTOCHECKBOX | lines;
        case ControlKind::RadioButton:
            return base | BS_AUTORADIOBUTTON | lines | (c.group ? WS_GROUP : 0);
        case ControlKind::GroupBox:
            return base | WS_GROUP | BS_GROUPBOX;
        case ControlKind::Banner:
            // The frame keeps its size whatever the bitmap's: the host draws one to fill it.
            return base | WS_GROUP | SS_BITMAP | SS_SUNKEN | SS_REALSIZECONTROL;
        case ControlKind::Icon:
            return base | WS_GROUP | SS_ICON;
    }
    return base;
}

WORD ClassOrdinal(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit:
        case ControlKind::ReadOnlyText:
            return kEditClass;
        case ControlKind::Label:
        case ControlKind::Banner:
        case ControlKind::Icon:
            return kStaticClass;
        case ControlKind::PushButton:
        case ControlKind::DefaultButton:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
        case ControlKind::GroupBox:
            return kButtonClass;
    }
    return kStaticClass;
}

void WriteControlText(TemplateWriter& out, const PageLayout& layout, const ControlLayout& c) {
    // Picture statics name their image by resource ordinal instead of a text.
    if (c.kind == ControlKind::Banner) {
        out.Ordinal(USBWIZ_BANNER_BITMAP);
        return;
    }
    if (c.kind == ControlKind::Icon) {
        out.Ordinal(USBWIZ_APP_ICON);
        return;
    }
    const std::string text =
        ClassOrdinal(c.kind) == kEditClass ? WithCrLf(c.text) : std::string(c.text);
    if (!out.Text(text))
        Reject(layout, "text of control " + std::to_string(c.id) + " cannot be converted");
}

}  // namespace

DialogTemplate BuildDialogTemplate(const PageLayout& layout) {
    if (layout.controls.size() > 0xFFFF) Reject(layout, "too many controls");

    TemplateWriter out;
    out.Dword(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    out.Dword(layout.appWindowStyle ? WS_EX_APPWINDOW : 0);
    out.Word(static_cast<WORD>(layout.controls.size()));
    out.Short(0);
    out.Short(0);
    out.Short(CheckedShort(layout, layout.width, "width"));
    out.Short(CheckedShort(layout, layout.height, "height"));
    out.Word(0);  // no menu
    out.Word(0);  // the standard dialog class
    if (!out.Text(layout.caption)) Reject(layout, "caption cannot be converted");
    out.Word(kFontPoints);
    out.Text(kFontName);

    for (const ControlLayout& c : layout.controls) {
        out.AlignTo(sizeof(DWORD));
        out.Dword(ControlStyle(c));
        out.Dword(0);
        out.Short(CheckedShort(layout, c.x, "x"));
        out.Short(CheckedShort(layout, c.y, "y"));
        out.Short(CheckedShort(layout, c.width, "width"));
        out.Short(CheckedShort(layout, c.height, "height"));
        out.Word(CheckedId(layout, c.id));
        out.Ordinal(ClassOrdinal(c.kind));
        WriteControlText(out, layout, c);
        out.Word(0);  // no creation data
    }
    return out.Finish();
}

}  // namespace usbwiz
