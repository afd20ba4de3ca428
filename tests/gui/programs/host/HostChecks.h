#pragma once

#include "CheckLog.h"

namespace usbwiz {

// The groups of checks of the Win32 host, each run against real windows under Wine.
void CheckTextHelpers(CheckLog& log);
void CheckDialogTemplates(CheckLog& log);
void CheckPageDialogs(CheckLog& log);
void CheckScaledPages(CheckLog& log);

}  // namespace usbwiz
