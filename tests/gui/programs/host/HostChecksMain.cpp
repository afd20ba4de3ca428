// Checks the Win32 host of the wizard against real windows: the dialog templates of every page
// layout, the page dialogs' routing of clicks and keys, and the text helpers. Exit status 0 when
// every check passed.
#include <windows.h>
// windows.h first: the common controls header builds on it.
#include <commctrl.h>

#include <cstdio>

#include "HostChecks.h"

int main() {
    InitCommonControls();  // as the wizard does: the same control classes
    usbwiz::CheckLog log;
    usbwiz::CheckTextHelpers(log);
    usbwiz::CheckDialogTemplates(log);
    usbwiz::CheckPageDialogs(log);
    std::printf("%d checks, %d failed\n", log.Checks(), log.Failures());
    return log.Failures() == 0 ? 0 : 1;
}
