#pragma once

#include <array>
#include <string>
#include <string_view>

#include "payload/PayloadStore.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

enum class PayloadRole { Driver, Uninstaller, Preinstaller };

// One file the package carries, as payload/PayloadFiles.cmake lists it.
struct PayloadEntry {
    PayloadId id;
    std::string_view sourceName;  // in the payload folder the build embeds from
    std::string_view outputName;  // in the package; {{Field}} stands for a text of the record
    Package package;
    PayloadRole role;
};

// Generated from payload/PayloadFiles.cmake when the build is configured, in the order each
// package writes its files.
inline constexpr PayloadEntry kPayloadManifest[] = {
#include "payload/PayloadManifest.inc"
};

// "stand-in payloads: not for distribution" when the payload folder the build embedded holds
// any of the stand-ins of payload/stand-ins, empty when every carried file is real. Decided by
// payload/CMakeLists.txt, which also names the release files after it.
inline constexpr std::string_view kStandInMark =
#include "payload/StandInMark.inc"
    ;

// A program's version line ("usbdrvgen 3.1.0"), with the stand-in mark behind it when there is
// one, so that no build with stand-ins passes for a release.
inline std::string VersionLine(std::string_view programAndVersion) {
    std::string line(programAndVersion);
    if (!kStandInMark.empty()) ((line += " (") += kStandInMark) += ')';
    return line;
}

}  // namespace usbwiz
