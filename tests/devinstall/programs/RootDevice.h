#pragma once

// clang-format off
#include <windows.h>
#include <setupapi.h>
// clang-format on

#include <optional>
#include <string>

namespace usbwiz {

// A root-enumerated device with one hardware ID, registered as present so that the device
// installer treats it as plugged in; removed again when the object goes.
class RootDevice {
  public:
    RootDevice(const std::string& hardwareId, const std::string& infPath);
    ~RootDevice();
    RootDevice(const RootDevice&) = delete;
    RootDevice& operator=(const RootDevice&) = delete;

    // Empty when the device was registered; else the failed call and its error.
    const std::string& RegisterFailure() const { return failure_; }
    std::string InstanceId();

    // Installs the INF's driver for the device as Plug and Play does when it finds one:
    // UpdateDriverForPlugAndPlayDevices' class installer calls, made here one by one because
    // Wine's UpdateDriverForPlugAndPlayDevices answers TRUE even when one of them fails.
    // Empty on success, else the step that failed and the installer's error.
    std::string InstallDriver();

    std::optional<std::string> TextProperty(DWORD property);
    // The driver (software) key or the device (hardware) key; nullptr when there is none.
    HKEY OpenKey(DWORD which);

  private:
    HDEVINFO set_ = INVALID_HANDLE_VALUE;
    SP_DEVINFO_DATA device_{};
    std::string infPath_;
    std::string failure_;
};

// "0xE000020B (text)": the hex code and the system's text for it.
std::string DescribeError(DWORD error);

}  // namespace usbwiz
