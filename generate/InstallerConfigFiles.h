#pragma once

#include <string>

#include "settings/WizardSettings.h"

namespace usbwiz {

// The three line files the carried preinstaller and uninstallers read, each rendered whole.
// Empty texts for a kind other than 1 or 2.

// {{UninstallName}}.u98: what the Windows 98 uninstaller removes.
std::string RenderUninstallIni98(const WizardSettings& settings);
// {{UninstallName}}.u2k: what the Windows 2000/XP uninstaller removes.
std::string RenderUninstallIni2k(const WizardSettings& settings);
// setup.ini: what the preinstaller shows and copies.
std::string RenderSetupIni(const WizardSettings& settings);

}  // namespace usbwiz
