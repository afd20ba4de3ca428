#include "WizardProcess.h"

#include <stdexcept>

namespace usbwiz {

WizardProcess::WizardProcess(const std::string& program) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + program + "\"";
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info_))
        throw std::runtime_error("cannot start " + program + " (error " +
                                 std::to_string(GetLastError()) + ")");
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
