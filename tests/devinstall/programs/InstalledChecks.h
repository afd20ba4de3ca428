#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "InfInstallPlan.h"
#include "RootDevice.h"

namespace usbwiz {

// The names the package was generated with, as the device must show them.
struct TypedNames {
    std::string description;
    std::optional<std::string> friendlyName;  // only where the INF gives the device one
};

// Removes every file, service and value outside the device's own keys that the plan says the
// installation makes, so that whatever the checks then find was made by this installation.
// Answers what could not be removed.
std::vector<std::string> ClearPlannedResults(const InstallPlan& plan);

struct CheckCount {
    int total = 0;
    int failed = 0;
};

// Compares the machine after the device's installation with the plan and the typed names:
// one line for each file, service, value and name found as planned, a FAIL line for each
// difference, and a "not done by this installer" line for each step Windows takes that
// the installer here does not.
CheckCount CheckInstalled(const InstallPlan& plan, RootDevice& device, const TypedNames& names,
                          std::ostream& report);

}  // namespace usbwiz
