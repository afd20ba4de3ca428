#pragma once

#include <optional>
#include <string_view>

#include "inf/TextFileWriter.h"
#include "payload/PayloadStore.h"
#include "platform/Platform.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

// What people are told about a generation: the failed file's own message (no owner, no caption
// of the program's), then the summary page's verdict.
inline constexpr std::string_view kOpenFailedMessage = "Error: Could Not Open File For Write.";
inline constexpr std::string_view kGenerationFailedMessage = "Error: Could Not Generate All Files.";
inline constexpr std::string_view kGenerationSucceededMessage = "Files Successfully Generated";

// What a generation did: every file of the plan written, or the file that could not be. A
// record of a kind without a plan writes nothing and is neither.
struct GenerationOutcome {
    bool written = false;
    std::optional<WriteFailure> failure;
};

// Runs the plan of the record's kind, stopping at the first file that cannot be written.
GenerationOutcome GeneratePackage(const WizardSettings& settings, Platform& platform,
                                  const PayloadStore& store);

// Finish has always upper-cased the COM port package's ShortName in the summary page's record
// (it reaches no file); a failed Finish followed by Back shows it on the names page.
void UpperCaseShortNameForGeneration(WizardSettings& settings);

}  // namespace usbwiz
