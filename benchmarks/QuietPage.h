#pragma once

#include "generate/GeneratePackage.h"

namespace usbwiz {

// A summary page with nobody to read its messages: the outcome is GeneratePackage's answer.
class QuietPage final : public GenerationPage {
  public:
    void ShowPageMessage(std::string_view, MessageIcon) override {}
    void EndPage() override {}
};

}  // namespace usbwiz
