#pragma once

#include <string_view>

#include "generate/PayloadStore.h"
#include "platform/Platform.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

// The output path of a carried file: names ending in "exe", "sys" or "vxd" (case-sensitive) go
// straight behind GenerationDirectory; any other name gets InfPrefix in front of it.
std::string PayloadOutputPath(const WizardSettings& settings, std::string_view fileName);

// Writes payload `id` unchanged under `fileName`. Answers 1, or shows the open-failure message
// and answers 0 when the file cannot be written or the store lacks the id.
int ExtractPayload(const WizardSettings& settings, std::string_view fileName, PayloadId id,
                   Platform& platform, const PayloadStore& store);

}  // namespace usbwiz
