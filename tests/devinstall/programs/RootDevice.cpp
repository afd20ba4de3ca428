#include "RootDevice.h"

#include <cstdio>
#include <vector>

namespace usbwiz {

namespace {

std::string Failed(const char* step) {
    return std::string(step) + " failed with " + DescribeError(GetLastError());
}

}  // namespace

std::string DescribeError(DWORD error) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(error));
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 ? std::string(text, length) : "no text for this code";
    if (text != nullptr) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    return std::string(code) + " (" + message + ")";
}

RootDevice::RootDevice(const std::string& hardwareId, const std::string& infPath)
    : infPath_(infPath) {
    GUID classGuid{};
    char className[MAX_CLASS_NAME] = {};
    if (!SetupDiGetINFClassA(infPath.c_str(), &classGuid, className, MAX_CLASS_NAME, nullptr)) {
        failure_ = Failed("SetupDiGetINFClass");
        return;
    }
    set_ = SetupDiCreateDeviceInfoList(&classGuid, nullptr);
    if (set_ == INVALID_HANDLE_VALUE) {
        failure_ = Failed("SetupDiCreateDeviceInfoList");
        return;
    }
    device_.cbSize = sizeof device_;
    if (!SetupDiCreateDeviceInfoA(set_, "USBDRVGEN_TEST", &classGuid, nullptr, nullptr,
                                  DICD_GENERATE_ID, &device_)) {
        failure_ = Failed("SetupDiCreateDeviceInfo");
        return;
    }
    std::vector<BYTE> ids(hardwareId.begin(), hardwareId.end());
    ids.insert(ids.end(), {0, 0});  // a list of strings, ended by an empty one
    if (!SetupDiSetDeviceRegistryPropertyA(set_, &device_, SPDRP_HARDWAREID, ids.data(),
                                           static_cast<DWORD>(ids.size()))) {
        failure_ = Failed("SetupDiSetDeviceRegistryProperty(SPDRP_HARDWAREID)");
        return;
    }
    if (!SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set_, &device_))
        failure_ = Failed("DIF_REGISTERDEVICE");
}

RootDevice::~RootDevice() {
    if (set_ == INVALID_HANDLE_VALUE) return;
    if (failure_.empty()) SetupDiCallClassInstaller(DIF_REMOVE, set_, &device_);
    SetupDiDestroyDeviceInfoList(set_);
}

std::string RootDevice::InstanceId() {
    char id[MAX_PATH] = {};
    if (!SetupDiGetDeviceInstanceIdA(set_, &device_, id, MAX_PATH, nullptr)) return "?";
    return id;
}

std::string RootDevice::InstallDriver() {
    SP_DEVINSTALL_PARAMS_A params{};
    params.cbSize = sizeof params;
    if (!SetupDiGetDeviceInstallParamsA(set_, &device_, &params))
        return Failed("SetupDiGetDeviceInstallParams");
    if (infPath_.size() >= sizeof params.DriverPath) return "the INF path is too long";
    infPath_.copy(params.DriverPath, infPath_.size());
    params.Flags |= DI_ENUMSINGLEINF;
    if (!SetupDiSetDeviceInstallParamsA(set_, &device_, &params))
        return Failed("SetupDiSetDeviceInstallParams");
    if (!SetupDiBuildDriverInfoList(set_, &device_, SPDIT_COMPATDRIVER))
        return Failed("SetupDiBuildDriverInfoList");

    static const std::pair<DI_FUNCTION, const char*> steps[] = {
        {DIF_SELECTBESTCOMPATDRV, "DIF_SELECTBESTCOMPATDRV"},
        {DIF_ALLOW_INSTALL, "DIF_ALLOW_INSTALL"},
        {DIF_INSTALLDEVICEFILES, "DIF_INSTALLDEVICEFILES"},
        {DIF_REGISTER_COINSTALLERS, "DIF_REGISTER_COINSTALLERS"},
        {DIF_INSTALLINTERFACES, "DIF_INSTALLINTERFACES"},
        {DIF_INSTALLDEVICE, "DIF_INSTALLDEVICE"},
        {DIF_NEWDEVICEWIZARD_FINISHINSTALL, "DIF_NEWDEVICEWIZARD_FINISHINSTALL"},
    };
    for (const auto& [function, name] : steps)
        if (!SetupDiCallClassInstaller(function, set_, &device_) &&
            GetLastError() != ERROR_DI_DO_DEFAULT)
            return Failed(name);
    return "";
}

std::optional<std::string> RootDevice::TextProperty(DWORD property) {
    char text[1024] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyA(set_, &device_, property, &type,
                                           reinterpret_cast<BYTE*>(text), sizeof text - 1, nullptr))
        return {};
    return std::string(text);
}

HKEY RootDevice::OpenKey(DWORD which) {
    const HKEY key = SetupDiOpenDevRegKey(set_, &device_, DICS_FLAG_GLOBAL, 0, which, KEY_READ);
    return key == INVALID_HANDLE_VALUE ? nullptr : key;
}

}  // namespace usbwiz
