#pragma once

#include <string_view>

#include "inf/TextFileWriter.h"
#include "payload/PayloadStore.h"
#include "platform/Platform.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

// The output path of a carried file: names ending in "exe", "sys" or "vxd" (case-sensitive) go
// straight behind GenerationDirectory; any other name gets InfPrefix in front of it.
std::string PayloadOutputPath(const WizardSettings& settings, std::string_view fileName);

// Writes payload `id` unchanged under `fileName`; what failed (also a store that lacks the id),
// or nullopt.
std::optional<WriteFailure> ExtractPayload(const WizardSettings& settings,
                                           std::string_view fileName, PayloadId id,
                                           Platform& platform, const PayloadStore& store);

}  // namespace usbwiz
