#pragma once

#include <optional>
#include <string_view>

#include "generate/PackageContents.h"
#include "generate/StagedRun.h"
#include "generate/WriteFailure.h"
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

// Stages every file of the package into `run`, in order, stopping at the first that cannot be
// staged (a carried file this build lacks counts as one); what failed, or nullopt.
std::optional<WriteFailure> StagePackage(const PackageContents& contents, StagedRun& run);

// Builds the record's package, stages every file and commits them together: either the whole
// package replaces its files in the folder, or (any failure before the commit) the folder
// stays as it was.
GenerationOutcome GeneratePackage(const WizardSettings& settings, Platform& platform,
                                  const PayloadStore& store);

// Finish has always upper-cased the COM port package's ShortName in the summary page's record
// (it reaches no file); a failed Finish followed by Back shows it on the names page.
void UpperCaseShortNameForGeneration(WizardSettings& settings);

}  // namespace usbwiz
