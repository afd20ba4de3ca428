#include "WizardProcess.h"

#include <stdexcept>

namespace usbwiz {

WizardProcess::WizardProcess(const std::string& program) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    // Under load Wine now and then refuses to start a process with ERROR_INTERNAL_ERROR while
    // the previous one is still being torn down; that passes, so try again for a while.
    const DWORD deadline = GetTickCount() + 10000;
    for (;;) {
        std::string commandLine = "\"" + program + "\"";
        if (CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &info_))
            return;
        const DWORD error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR || static_cast<LONG>(GetTickCount() - deadline) >= 0)
            throw std::runtime_error("cannot start " + program + " (error " +
                                     std::to_string(error) + ")");
        Sleep(50);
    }
}

WizardProcess::~WizardProcess() {
    Terminate();
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

std::optional<DWORD> WizardProcess::ExitCode() const {
    if (WaitForSingleObject(info_.hProcess, 0) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool WizardProcess::Terminate() {
    if (ExitCode()) return false;
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 10000);
    return true;
}

}  // namespace usbwiz
