#pragma once

#include <string_view>

#include "generate/PayloadStore.h"
#include "platform/Platform.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

inline constexpr std::string_view kGenerationFailedMessage = "Error: Could Not Generate All Files.";
inline constexpr std::string_view kGenerationSucceededMessage = "Files Successfully Generated";

// The page that runs generation: it owns the driver's messages and ends when all is written.
class GenerationPage {
  public:
    virtual ~GenerationPage() = default;
    // A message box owned by the page, with the program's name as caption and an OK button.
    virtual void ShowPageMessage(std::string_view text, MessageIcon icon) = 0;
    virtual void EndPage() = 0;
};

// Runs the plan of the record's kind, stopping at the first producer that answers 0. Answers
// whether every file was written; a kind other than 1 or 2 writes and shows nothing (false).
bool GeneratePackage(WizardSettings& settings, Platform& platform, const PayloadStore& store,
                     GenerationPage& page);

}  // namespace usbwiz
