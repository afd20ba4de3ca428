// The wizard program: the pages of the portable core, shown as real dialogs.
#include <windows.h>
// windows.h first: the common controls header builds on it.
#include <commctrl.h>
#include <shellapi.h>

#include <exception>
#include <string>

#include "app/PageChain.h"
#include "app/win32/ProgramTitle.h"
#include "app/win32/Win32PageRunner.h"
#include "payload/PayloadManifest.h"
#include "payload/PayloadStore.h"
#include "platform/Win32Platform.h"

namespace {

bool AskedForVersion() {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    const bool asked = args != nullptr && count == 2 && std::wstring(args[1]) == L"--version";
    LocalFree(args);
    return asked;
}

// A GUI program has no console of its own: the text goes to standard output when the caller
// gave one (a pipe or a file), else to the console it was started from, else to a message box.
void ShowVersion(const std::string& title) {
    const std::string text = usbwiz::VersionLine("UsbDriverWizard " USBWIZ_VERSION) + "\n";
    DWORD written = 0;
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out != nullptr && out != INVALID_HANDLE_VALUE &&
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
        return;
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        out = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                          nullptr);
        const bool shown =
            out != INVALID_HANDLE_VALUE &&
            WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
        if (shown) return;
    }
    MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (AskedForVersion()) {
        ShowVersion(usbwiz::ProgramTitle());
        return 0;
    }
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
