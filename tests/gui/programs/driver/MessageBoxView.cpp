#include "MessageBoxView.h"

#include <utility>

#include "WizardWindows.h"

namespace usbwiz {

namespace {

constexpr std::pair<int, const char*> kButtonNames[] = {
    {IDOK, "OK"},         {IDCANCEL, "Cancel"}, {IDABORT, "Abort"}, {IDRETRY, "Retry"},
    {IDIGNORE, "Ignore"}, {IDYES, "Yes"},       {IDNO, "No"},
};

}  // namespace

MessageBoxView ReadMessageBox(HWND messageBox) {
    MessageBoxView view;
    view.text = MessageText(messageBox);
    view.caption = WindowText(messageBox);
    view.owner = GetWindow(messageBox, GW_OWNER);
    for (HWND child = GetWindow(messageBox, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == "Button" && IsWindowVisible(child))
            view.buttons.push_back(GetDlgCtrlID(child));
    view.icon = IconShownBy(messageBox);
    return view;
}

std::string ButtonNames(const std::vector<int>& buttons) {
    std::string names;
    for (int id : buttons) {
        std::string name = "button " + std::to_string(id);
        for (const auto& [known, label] : kButtonNames)
            if (known == id) name = label;
        names += (names.empty() ? "" : " ") + name;
    }
    return names.empty() ? "no button" : names;
}

}  // namespace usbwiz
