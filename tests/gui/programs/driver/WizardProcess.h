#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace usbwiz {

// The wizard under test, started by the driver so that the driver can always end it.
class WizardProcess {
  public:
    explicit WizardProcess(const std::string& program);  // throws std::runtime_error
    WizardProcess(const WizardProcess&) = delete;
    WizardProcess& operator=(const WizardProcess&) = delete;
    ~WizardProcess();  // ends the process if it still runs

    DWORD Id() const { return info_.dwProcessId; }
    DWORD ThreadId() const { return info_.dwThreadId; }
    HANDLE Handle() const { return info_.hProcess; }
    // The exit code once the process has ended; nullopt while it runs.
    std::optional<DWORD> ExitCode() const;
    // Ends the process if it still runs; answers whether it had to.
    bool Terminate();

  private:
    PROCESS_INFORMATION info_{};
};

}  // namespace usbwiz
