#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "MessageBoxIcon.h"

namespace usbwiz {

// Everything a user can see of a message box, and who owns it.
struct MessageBoxView {
    std::string text;
    std::string caption;
    HWND owner = nullptr;
    std::vector<int> buttons;  // ids of the visible buttons: IDOK, IDYES, ... in window order
    BoxIcon icon = BoxIcon::None;
};

MessageBoxView ReadMessageBox(HWND messageBox);

// "OK", "Yes No": the buttons as they are labelled.
std::string ButtonNames(const std::vector<int>& buttons);

}  // namespace usbwiz
