#pragma once

#include <windows.h>

#include <string>

#include "app/PageChain.h"
#include "platform/Platform.h"

namespace usbwiz {

// Runs each page as a modal dialog built from the page's layout.
class Win32PageRunner final : public PageRunner {
  public:
    Win32PageRunner(HINSTANCE instance, Platform& platform, std::string title)
        : instance_(instance), platform_(platform), title_(std::move(title)) {}

    void Run(Page& page) override;

  private:
    HINSTANCE instance_;
    Platform& platform_;
    std::string title_;
};

}  // namespace usbwiz
