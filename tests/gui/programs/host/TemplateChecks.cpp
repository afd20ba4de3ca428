#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "HostChecks.h"
#include "app/win32/DialogTemplate.h"
#include "app/win32/EditLimits.h"
#include "app/win32/ResourceIds.h"

namespace usbwiz {

namespace {

// What a control of each kind must look like once Windows has created it.
struct KindExpectation {
    ControlKind kind;
    const char* className;
    DWORD typeMask;  // the bits that hold the control's type, 0 when none
    DWORD type;
    DWORD required;
    DWORD forbidden;
};

constexpr KindExpectation kKinds[] = {
    {ControlKind::Label, "Static", SS_TYPEMASK, SS_LEFT, WS_GROUP, WS_TABSTOP},
    {ControlKind::Edit, "Edit", 0, 0, WS_TABSTOP | ES_AUTOHSCROLL,
     ES_MULTILINE | ES_READONLY | ES_WANTRETURN},
    {ControlKind::ReadOnlyText, "Edit", 0, 0,
     ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | WS_HSCROLL,
     WS_BORDER | WS_TABSTOP | WS_VSCROLL | ES_UPPERCASE},
    {ControlKind::PushButton, "Button", BS_TYPEMASK, BS_PUSHBUTTON, WS_TABSTOP, 0},
    {ControlKind::DefaultButton, "Button", BS_TYPEMASK, BS_DEFPUSHBUTTON, WS_TABSTOP, 0},
    {ControlKind::CheckBox, "Button", BS_TYPEMASK, BS_AUTOCHECKBOX, WS_TABSTOP, 0},
    {ControlKind::RadioButton, "Button", BS_TYPEMASK, BS_AUTORADIOBUTTON, 0, 0},
    {ControlKind::GroupBox, "Button", BS_TYPEMASK, BS_GROUPBOX, WS_GROUP, WS_TABSTOP},
    {ControlKind::Banner, "Static", SS_TYPEMASK, SS_BITMAP, SS_SUNKEN | SS_REALSIZECONTROL,
     WS_TABSTOP},
    {ControlKind::Icon, "Static", SS_TYPEMASK, SS_ICON, 0, WS_TABSTOP},
};

const KindExpectation& ExpectationOf(ControlKind kind) {
    for (const KindExpectation& e : kKinds)
        if (e.kind == kind) return e;
    throw std::logic_error("no expectation for a control kind");
}

bool IsButtonClass(ControlKind kind) {
    return std::string(ExpectationOf(kind).className) == "Button";
}

// A layout of our own that has every kind of control and the awkward cases: texts of odd and
// even length (the alignment of the next item depends on them), a long text, line breaks, a
// hidden control, two radio groups, ids 0 and 0xFFFE.
const std::string kLongText(400, 'x');

const ControlLayout kEveryKind[] = {
    {kNoControlId, ControlKind::Banner, "", 7, 7, 39, 190},
    {kNoControlId, ControlKind::Icon, "", 269, 7, 21, 20},
    {2001, ControlKind::Label, "A", 56, 7, 40, 8},
    {kNoControlId, ControlKind::Label, "two\nlines", 100, 7, 60, 16},
    {2002, ControlKind::Edit, "", 56, 30, 60, 14, 5, true},
    {2003, ControlKind::Edit, "prefilled", 120, 30, 60, 14},
    {2004, ControlKind::ReadOnlyText, "first\nsecond\r\nthird", 56, 50, 100, 30},
    {2005, ControlKind::PushButton, "Hidden", 160, 50, 50, 14, 0, false, true},
    {2006, ControlKind::DefaultButton, "Go", 243, 183, 50, 14},
    {2007, ControlKind::CheckBox, "Check\nme", 56, 90, 80, 20, 0, false, false, true},
    {2008, ControlKind::RadioButton, "One", 56, 115, 50, 10, 0, false, false, false, true},
    {2009, ControlKind::RadioButton, "Two", 56, 127, 50, 10},
    {kNoControlId, ControlKind::GroupBox, "Group", 150, 90, 100, 60},
    {2010, ControlKind::RadioButton, "Three", 160, 105, 50, 10, 0, false, false, false, true},
    {2011, ControlKind::Label, kLongText, 56, 150, 180, 24},
    {0, ControlKind::PushButton, "Zero", 56, 183, 50, 14},
    {0xFFFE, ControlKind::PushButton, "Last", 132, 183, 50, 14},
};

const PageLayout kEveryKindLayout{PageId::Summary, "A layout of every kind", 300, 204, true,
                                  kEveryKind};
const PageLayout kNoControlsLayout{PageId::Warning, "Empty", 120, 60, false, {}};

const BITMAPINFOHEADER* BannerHeader(int resource) {
    HRSRC info = FindResourceA(nullptr, MAKEINTRESOURCEA(resource), MAKEINTRESOURCEA(2));
    return info == nullptr
               ? nullptr
               : static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, info)));
}

SIZE BannerSize(int resource) {
    const BITMAPINFOHEADER* header = BannerHeader(resource);
    return header == nullptr ? SIZE{0, 0} : SIZE{header->biWidth, header->biHeight};
}

INT_PTR CALLBACK InertDialogProcedure(HWND, UINT, WPARAM, LPARAM) {
    // FALSE for WM_INITDIALOG too: nothing takes the focus, so the default button keeps its
    // style as created.
    return FALSE;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

std::string CrLf(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

RECT DialogUnitsToPixels(HWND dialog, int x, int y, int width, int height) {
    RECT rect{x, y, x + width, y + height};
    MapDialogRect(dialog, &rect);
    return rect;
}

void CheckControl(CheckLog& log, HWND dialog, HWND child, const ControlLayout& c,
                  const std::string& where) {
    const KindExpectation& expected = ExpectationOf(c.kind);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_EXSTYLE));

    log.ExpectEqual(ClassOf(child), std::string(expected.className), where + " class");
    log.ExpectEqual(static_cast<int>(GetDlgCtrlID(child)), c.id == kNoControlId ? 0xFFFF : c.id,
                    where + " id");
    if (expected.typeMask != 0)
        log.ExpectEqual(style & expected.typeMask, expected.type, where + " type bits");
    log.ExpectEqual(style & expected.required, expected.required, where + " required style bits");
    log.ExpectEqual(style & expected.forbidden, DWORD{0}, where + " forbidden style bits");
    log.ExpectEqual((style & WS_VISIBLE) != 0, !c.hidden, where + " visible");

    switch (c.kind) {
        case ControlKind::Edit:
            // Windows may turn a dialog edit's border into a client edge; either is a border.
            log.Expect((style & WS_BORDER) != 0 || (exStyle & WS_EX_CLIENTEDGE) != 0,
                       where + " has a border");
            log.ExpectEqual((style & ES_UPPERCASE) != 0, c.upperCase, where + " upper-cases");
            if (c.maxLength > 0)
                log.ExpectEqual(static_cast<int>(SendMessageA(child, EM_GETLIMITTEXT, 0, 0)),
                                c.maxLength, where + " length limit");
            break;
        case ControlKind::ReadOnlyText:
            log.ExpectEqual(exStyle & WS_EX_CLIENTEDGE, DWORD{0}, where + " has no client edge");
            break;
        case ControlKind::RadioButton:
            log.ExpectEqual((style & WS_GROUP) != 0, c.group, where + " starts a group");
            log.ExpectEqual((style & WS_TABSTOP) != 0, c.group, where + " is a tab stop");
            break;
        default:
            break;
    }
    if (c.kind != ControlKind::RadioButton)
        log.Expect((style & WS_GROUP) != 0, where + " ends any radio group before it");
    if (IsButtonClass(c.kind) && c.kind != ControlKind::GroupBox)
        log.ExpectEqual((style & BS_MULTILINE) != 0, c.multiline, where + " multi-line");

    if (c.kind == ControlKind::Banner) {
        HANDLE image = reinterpret_cast<HANDLE>(SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP bitmap{};
        const SIZE stored = BannerSize(USBWIZ_BANNER_BITMAP);
        log.Expect(image != nullptr && GetObjectA(image, sizeof bitmap, &bitmap) == sizeof bitmap &&
                       bitmap.bmWidth == stored.cx && bitmap.bmHeight == stored.cy,
                   where + " shows banner bitmap 132");
    } else if (c.kind == ControlKind::Icon) {
        log.Expect(SendMessageA(child, STM_GETICON, 0, 0) != 0, where + " shows the icon");
    } else {
        const std::string text = c.kind == ControlKind::ReadOnlyText || c.kind == ControlKind::Edit
                                     ? CrLf(c.text)
                                     : std::string(c.text);
        log.ExpectEqual(TextOf(child), text, where + " text");
    }

    // The dialog manager converts position and size each on its own, so the size is compared
    // as a size. The icon sizes itself to its image; only its corner is fixed.
    const RECT corner = DialogUnitsToPixels(dialog, c.x, c.y, 0, 0);
    const RECT size = DialogUnitsToPixels(dialog, 0, 0, c.width, c.height);
    const RECT found = RectInDialog(dialog, child);
    log.Expect(found.left == corner.left && found.top == corner.top, where + " position");
    if (c.kind != ControlKind::Icon)
        log.Expect(
            found.right - found.left == size.right && found.bottom - found.top == size.bottom,
            where + " size");
}

void CheckLayout(CheckLog& log, const PageLayout& layout) {
    const std::string page = "page " + std::to_string(static_cast<int>(layout.page)) + " (" +
                             std::string(layout.caption.substr(0, 24)) + ")";
    const DialogTemplate dialogTemplate = BuildDialogTemplate(layout);
    log.ExpectEqual(static_cast<std::size_t>(dialogTemplate.Get()->cdit), layout.controls.size(),
                    page + " item count");

    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate.Get(),
                                             nullptr, InertDialogProcedure, 0);
    log.Expect(dialog != nullptr, page + " is created");
    if (dialog == nullptr) return;
    ApplyEditLimits(dialog, layout);

    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE));
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    log.ExpectEqual(style & frame, frame, page + " frame style");
    log.ExpectEqual((exStyle & WS_EX_APPWINDOW) != 0, layout.appWindowStyle,
                    page + " application-window style");
    log.ExpectEqual(TextOf(dialog), std::string(layout.caption), page + " caption");

    LOGFONTA font{};
    HFONT hfont = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    log.Expect(hfont != nullptr && GetObjectA(hfont, sizeof font, &font) == sizeof font,
               page + " has a font");
    log.ExpectEqual(std::string(font.lfFaceName), std::string("MS Sans Serif"), page + " font");
    HDC screen = GetDC(nullptr);
    log.ExpectEqual(static_cast<int>(font.lfHeight),
                    -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72), page + " font height");
    ReleaseDC(nullptr, screen);

    RECT client;
    GetClientRect(dialog, &client);
    const RECT size = DialogUnitsToPixels(dialog, 0, 0, layout.width, layout.height);
    log.Expect(client.right == size.right && client.bottom == size.bottom, page + " size");

    const std::vector<HWND> children = ChildrenInCreationOrder(dialog);
    log.ExpectEqual(children.size(), layout.controls.size(), page + " control count");
    for (std::size_t i = 0; i < children.size() && i < layout.controls.size(); ++i)
        CheckControl(log, dialog, children[i], layout.controls[i],
                     page + " control " + std::to_string(i) + " (id " +
                         std::to_string(layout.controls[i].id) + ")");
    DestroyWindow(dialog);
}

// Layouts a template cannot express are refused instead of being written truncated.
void CheckRefusals(CheckLog& log) {
    struct Refusal {
        const char* what;
        ControlLayout control;
    };
    const Refusal refusals[] = {
        {"x beyond 16 bits", {1, ControlKind::Label, "", 40000, 0, 10, 10}},
        {"negative width beyond 16 bits", {1, ControlKind::Label, "", 0, 0, -40000, 10}},
        {"id 0xFFFF, which only unaddressed controls use",
         {0xFFFF, ControlKind::Label, "", 0, 0, 1, 1}},
        {"id beyond 16 bits", {70000, ControlKind::PushButton, "", 0, 0, 1, 1}},
        {"negative id other than none", {-2, ControlKind::PushButton, "", 0, 0, 1, 1}},
    };
    for (const Refusal& refusal : refusals) {
        const PageLayout layout{PageId::Summary,
                                "refused",
                                300,
                                204,
                                false,
                                std::span<const ControlLayout>(&refusal.control, 1)};
        bool refused = false;
        try {
            BuildDialogTemplate(layout);
        } catch (const std::invalid_argument&) {
            refused = true;
        }
        log.Expect(refused, std::string("a control with ") + refusal.what + " is refused");
    }
    const ControlLayout wideDialog[] = {{1, ControlKind::Label, "", 0, 0, 1, 1}};
    const PageLayout tooWide{PageId::Summary, "refused", 33000, 204, false, wideDialog};
    bool refused = false;
    try {
        BuildDialogTemplate(tooWide);
    } catch (const std::invalid_argument&) {
        refused = true;
    }
    log.Expect(refused, "a dialog width beyond 16 bits is refused");
}

// The artwork resources as stored: the formats the program promises. Which banner suits which
// frame is checked on the pages themselves (ScaleChecks.cpp).
void CheckArtwork(CheckLog& log) {
    SIZE smaller{0, 0};
    for (int banner : {USBWIZ_BANNER_BITMAP, USBWIZ_BANNER_BITMAP_125, USBWIZ_BANNER_BITMAP_150,
                       USBWIZ_BANNER_BITMAP_200}) {
        const BITMAPINFOHEADER* header = BannerHeader(banner);
        const SIZE size = BannerSize(banner);
        log.Expect(header != nullptr && header->biBitCount == 24 && size.cx > smaller.cx &&
                       size.cy > smaller.cy,
                   "banner bitmap " + std::to_string(banner) + " is 24-bit, larger than the last");
        smaller = size;
    }

    HRSRC groupInfo = FindResourceA(nullptr, MAKEINTRESOURCEA(USBWIZ_APP_ICON),
                                    MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    const auto* group =
        groupInfo == nullptr
            ? nullptr
            : static_cast<const BYTE*>(LockResource(LoadResource(nullptr, groupInfo)));
    // GRPICONDIR: reserved, type, count; then 14-byte entries: width, height (0 for 256), ...,
    // bits per pixel at 6.
    std::string sizes;
    const int count = group == nullptr ? 0 : group[4] | group[5] << 8;
    for (int i = 0; i < count; ++i) {
        const BYTE* entry = group + 6 + 14 * i;
        const int side = entry[0] == 0 ? 256 : entry[0];
        const int bits = entry[6] | entry[7] << 8;
        sizes += std::to_string(side) + "x" + std::to_string(entry[1] == 0 ? 256 : entry[1]) + "@" +
                 std::to_string(bits) + " ";
    }
    log.ExpectEqual(sizes, std::string("16x16@32 20x20@32 24x24@32 32x32@32 48x48@32 256x256@32 "),
                    "icon 128's images");
}

}  // namespace

void CheckDialogTemplates(CheckLog& log) {
    for (PageId page : kAllPages) CheckLayout(log, LayoutOf(page));
    CheckLayout(log, kEveryKindLayout);
    CheckLayout(log, kNoControlsLayout);
    CheckRefusals(log);
    CheckArtwork(log);
}

}  // namespace usbwiz
