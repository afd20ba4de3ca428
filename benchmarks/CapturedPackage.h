#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "benchmarks/StandInPayloads.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

// One file of a package as generation hands it to the platform.
struct CapturedFile {
    std::string path;
    std::string text;          // a generated file: its own copy of the bytes
    std::string_view payload;  // a carried file: the store's own bytes

    bool IsPayload() const { return payload.data() != nullptr; }
    std::string_view Bytes() const { return IsPayload() ? payload : std::string_view(text); }
};

struct CapturedPackage {
    std::vector<CapturedFile> files;  // in the order generation wrote them
    std::string fault;                // why the capture cannot be used; empty when it is sound
};

// Runs GeneratePackage for `settings` on an in-memory platform and keeps every file it writes.
// A payload must reach the platform as the store's own bytes: a write that carries a payload's
// content from anywhere else means it was copied on the way, and is a fault like a failed run.
CapturedPackage CapturePackage(const WizardSettings& settings, const StandInPayloads& store);

}  // namespace usbwiz
