#pragma once

#include <windows.h>
// windows.h first: the common controls header builds on it.
#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "pages/PageId.h"

namespace usbwiz {

// What the driver sees of the wizard at one moment: its visible top-level dialogs, sorted into
// the page (recognised by its controls), message boxes and anything else (the folder browser).
struct WizardScreen {
    HWND page = nullptr;
    std::optional<PageId> pageId;
    HWND messageBox = nullptr;
    std::vector<HWND> otherDialogs;
};

WizardScreen LookAtWizard(DWORD processId);

// One line for failure messages: "page options", "message box "Please fill in all blanks."".
std::string Describe(const WizardScreen& screen);

// Texts of another process's windows, through WM_GETTEXT: an edit's text is not its caption.
std::string WindowText(HWND window);
std::string ClassOf(HWND window);

// A message box keeps its text in the static control 0xFFFF and answers with IDOK, IDYES, ...
std::string MessageText(HWND messageBox);

// The tree items a tree view of the wizard shows in its expanded branches, with their texts. A
// tree view answers with pointers of its own, so the texts are read through memory in the
// wizard's process.
struct TreeItem {
    HTREEITEM item;
    std::string text;
};
std::vector<TreeItem> ShownTreeItems(HANDLE process, HWND tree);

// Page names used in scenarios: "welcome", "com-ids", "output-directory", ...
std::string PageName(PageId page);
std::optional<PageId> PageByName(const std::string& name);

}  // namespace usbwiz
