#pragma once

// clang-format off
#include <windows.h>
#include <setupapi.h>
// clang-format on

#include <string>
#include <vector>

namespace usbwiz {

// What installing one device of an INF must leave on the machine, read from the INF only
// through the setup API (strings and %dirid% substituted as the installer substitutes them), so
// that the checks never ask the code that wrote the INF what to expect.
struct PlannedFile {
    std::string target;  // full path, from DestinationDirs
    std::string source;  // the package's file, beside the INF
};

struct PlannedService {
    std::string name;
    bool associated = false;  // SPSVCINST_ASSOCSERVICE: the device's function driver
    int type = -1, start = -1, errorControl = -1;
    std::string binary, displayName, description, loadOrderGroup;
};

// Which key HKR stands for in the section the value comes from.
enum class RelativeRoot { DriverKey, DeviceKey };

struct PlannedValue {
    std::string rootName;  // HKR, HKLM, ... as the INF writes it
    HKEY root = nullptr;   // nullptr for HKR
    RelativeRoot relativeTo = RelativeRoot::DriverKey;
    std::string subkey, name;
    DWORD type = REG_SZ;
    std::vector<BYTE> data;  // REG_SZ: the text and its terminating zero
    // The bytes as Wine's setup API reads hex fields like "0x64": each up to its first character
    // that is not a hex digit. Empty where that reading agrees with the INF's.
    std::vector<BYTE> wineReading;
};

struct InstallPlan {
    std::string infPath, folder;  // the INF and the package folder it lies in
    std::string description;      // the models line's device description
    std::string hardwareId;
    std::string section;        // the install section the models line names
    std::string actualSection;  // with the decoration this system picks (.NT, ...)
    std::vector<PlannedFile> files;
    std::vector<PlannedService> services;
    std::vector<PlannedValue> values;
    std::string catalog;                // [Version] CatalogFile, when the INF names one
    std::vector<std::string> problems;  // what the INF says that these checks cannot follow
};

// The folders an INF names as %10% and %11%.
std::string WindowsDirectory();
std::string SystemDirectory();

// One plan per device that the INF's models sections list.
std::vector<InstallPlan> ReadInstallPlans(const std::string& infPath, std::string& error);

}  // namespace usbwiz
