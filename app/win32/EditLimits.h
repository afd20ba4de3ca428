#pragma once

#include <windows.h>

#include "pages/PageLayout.h"

namespace usbwiz {

// A template cannot carry an edit's length limit: set it on the created dialog's edits.
void ApplyEditLimits(HWND dialog, const PageLayout& layout);

}  // namespace usbwiz
