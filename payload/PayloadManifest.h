#pragma once

#include <array>
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

}  // namespace usbwiz
