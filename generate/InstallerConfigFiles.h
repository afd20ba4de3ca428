#pragma once

#include <string>

#include "inf/TextFileWriter.h"
#include "platform/Platform.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

// The three line files the carried preinstaller and uninstallers read, rendered whole.
// Empty texts for a kind other than 1 or 2.
struct InstallerConfigTexts {
    std::string u98;
    std::string u2k;
    std::string setupIni;
};
InstallerConfigTexts BuildInstallerConfigTexts(const WizardSettings& settings);

// Writes {{UninstallName}}.u98, {{UninstallName}}.u2k and setup.ini in that order; stops at the
// first that fails and answers what failed, else nullopt.
std::optional<WriteFailure> WriteInstallerConfigFiles(const WizardSettings& settings,
                                                      Platform& platform);

}  // namespace usbwiz
