#pragma once

#include <string>

namespace usbwiz {

// A step that did not get what it waited for: what it expected and what it found instead.
struct StepFailed {
    std::string expected;
    std::string found;
};

}  // namespace usbwiz
