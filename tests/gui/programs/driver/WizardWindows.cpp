#include "WizardWindows.h"

#include <utility>

#include "pages/PageLayout.h"

namespace usbwiz {

namespace {

constexpr std::pair<PageId, const char*> kPageNames[] = {
    {PageId::Welcome, "welcome"},
    {PageId::Warning, "warning"},
    {PageId::ComNames, "com-names"},
    {PageId::ComDeviceNames, "com-device-names"},
    {PageId::ComIds, "com-ids"},
    {PageId::FerrolinkNames, "ferrolink-names"},
    {PageId::FerrolinkDeviceName, "ferrolink-device-name"},
    {PageId::FerrolinkIds, "ferrolink-ids"},
    {PageId::Options, "options"},
    {PageId::Certification, "certification"},
    {PageId::OutputDirectory, "output-directory"},
    {PageId::Summary, "summary"},
};

constexpr int kMessageTextId = 0xFFFF;

const char* ClassNameOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit:
        case ControlKind::ReadOnlyText:
            return "Edit";
        case ControlKind::Label:
        case ControlKind::Banner:
        case ControlKind::Icon:
            return "Static";
        default:
            return "Button";
    }
}

std::vector<HWND> Children(HWND window) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// A page is a dialog whose controls are, in creation order, those of a layout: the same ids and
// classes, and the same texts for the labels nobody addresses (two pages may share their ids).
bool Matches(HWND window, const PageLayout& layout) {
    const std::vector<HWND> children = Children(window);
    if (children.size() != layout.controls.size()) return false;
    for (std::size_t i = 0; i < children.size(); ++i) {
        const ControlLayout& control = layout.controls[i];
        const int id = control.id == kNoControlId ? 0xFFFF : control.id;
        if (GetDlgCtrlID(children[i]) != id) return false;
        if (ClassOf(children[i]) != ClassNameOf(control.kind)) return false;
        if (control.kind == ControlKind::Label && control.id == kNoControlId &&
            WindowText(children[i]) != control.text)
            return false;
    }
    return true;
}

std::optional<PageId> Recognise(HWND window) {
    for (const auto& [page, name] : kPageNames)
        if (Matches(window, LayoutOf(page))) return page;
    return std::nullopt;
}

bool IsMessageBox(HWND window) {
    HWND text = GetDlgItem(window, kMessageTextId);
    return text != nullptr && ClassOf(text) == "Static" &&
           (GetDlgItem(window, IDOK) != nullptr || GetDlgItem(window, IDYES) != nullptr);
}

struct Search {
    DWORD processId;
    std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && ClassOf(window) == "#32770")
        search->dialogs.push_back(window);
    return TRUE;
}

}  // namespace

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return "<no answer>";
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &copied))
        return "<no answer>";
    text.resize(copied);
    return text;
}

std::string MessageText(HWND messageBox) {
    HWND text = GetDlgItem(messageBox, kMessageTextId);
    return text == nullptr ? std::string() : WindowText(text);
}

WizardScreen LookAtWizard(DWORD processId) {
    Search search{processId, {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    WizardScreen screen;
    for (HWND dialog : search.dialogs) {
        if (IsMessageBox(dialog)) {
            screen.messageBox = dialog;
        } else if (const std::optional<PageId> page = Recognise(dialog)) {
            screen.page = dialog;
            screen.pageId = page;
        } else {
            screen.otherDialogs.push_back(dialog);
        }
    }
    return screen;
}

std::string Describe(const WizardScreen& screen) {
    std::string out;
    const auto add = [&out](const std::string& part) {
        out += (out.empty() ? "" : " and ") + part;
    };
    if (screen.pageId) add("page " + PageName(*screen.pageId));
    if (screen.messageBox) add("message box \"" + MessageText(screen.messageBox) + "\"");
    for (HWND other : screen.otherDialogs) add("dialog \"" + WindowText(other) + "\"");
    return out.empty() ? "no window" : out;
}

std::vector<TreeItem> ShownTreeItems(HANDLE process, HWND tree) {
    struct Request {
        TVITEMA item;
        char text[MAX_PATH];
    };
    std::vector<TreeItem> items;
    auto* remote = static_cast<Request*>(VirtualAllocEx(process, nullptr, sizeof(Request),
                                                        MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (remote == nullptr) return items;
    DWORD_PTR next = 0;
    SendMessageTimeoutA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0, SMTO_ABORTIFHUNG, 5000, &next);
    while (next != 0 && items.size() < 1000) {
        Request request{};
        request.item.mask = TVIF_TEXT;
        request.item.hItem = reinterpret_cast<HTREEITEM>(next);
        request.item.pszText = remote->text;
        request.item.cchTextMax = MAX_PATH;
        DWORD_PTR answered = 0;
        if (!WriteProcessMemory(process, remote, &request, sizeof request, nullptr) ||
            !SendMessageTimeoutA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote),
                                 SMTO_ABORTIFHUNG, 5000, &answered) ||
            !ReadProcessMemory(process, remote, &request, sizeof request, nullptr))
            break;
        request.text[MAX_PATH - 1] = '\0';
        items.push_back({request.item.hItem, request.text});
        next = 0;
        SendMessageTimeoutA(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE,
                            reinterpret_cast<LPARAM>(request.item.hItem), SMTO_ABORTIFHUNG, 5000,
                            &next);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return items;
}

std::string PageName(PageId page) {
    for (const auto& [id, name] : kPageNames)
        if (id == page) return name;
    return "page " + std::to_string(static_cast<int>(page));
}

std::optional<PageId> PageByName(const std::string& name) {
    for (const auto& [id, known] : kPageNames)
        if (name == known) return id;
    return std::nullopt;
}

}  // namespace usbwiz
