#pragma once

#include <cstdint>
#include <string>

#include "settings/WizardSettings.h"
#include "tests/support/RecordingPlatform.h"

namespace usbwiz::testing {

// The defaults of `kind` as the welcome page sets them on a "C:\WINDOWS" system, with the
// output directory the output-directory page would have stored.
inline WizardSettings DefaultRecord(Package kind, std::string generationDirectory) {
    RecordingPlatform platform;
    WizardSettings settings;
    ApplyPackageDefaults(settings, kind, platform.WindowsDirectory());
    settings.GenerationDirectory = std::move(generationDirectory);
    return settings;
}

}  // namespace usbwiz::testing
