// The wizard program: the pages of the portable core, shown as real dialogs.
#include <windows.h>
// windows.h first: the common controls header builds on it.
#include <commctrl.h>

#include <exception>
#include <string>

#include "app/PageChain.h"
#include "app/win32/ProgramTitle.h"
#include "app/win32/Win32PageRunner.h"
#include "generate/PayloadStore.h"
#include "platform/Win32Platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    const std::string title = usbwiz::ProgramTitle();
    try {
        usbwiz::Win32Platform platform;
        usbwiz::PageServices services{platform, usbwiz::EmbeddedPayloads(), GetACP()};
        usbwiz::Win32PageRunner runner(instance, platform, title);
        usbwiz::RunPageChain(runner, services);
        return 0;
    } catch (const std::exception& failure) {
        const std::string text = std::string(
                                     "The wizard has stopped because of an internal "
                                     "error:\n\n") +
                                 failure.what();
        MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
    } catch (...) {
        MessageBoxA(nullptr, "The wizard has stopped because of an internal error.", title.c_str(),
                    MB_OK | MB_ICONERROR);
    }
    return 1;
}
