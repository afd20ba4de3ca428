#pragma once

#include <windows.h>

#include <vector>

#include "CheckLog.h"

namespace usbwiz {

inline std::vector<HWND> ChildrenInCreationOrder(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// A child's window rectangle in the dialog's client coordinates.
inline RECT RectInDialog(HWND dialog, HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The groups of checks of the Win32 host, each run against real windows under Wine.
void CheckTextHelpers(CheckLog& log);
void CheckDialogTemplates(CheckLog& log);
void CheckPageDialogs(CheckLog& log);

}  // namespace usbwiz
