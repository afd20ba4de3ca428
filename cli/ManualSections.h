#pragma once

#include <string>

#include "platform/Platform.h"

namespace usbwiz {

// The manual page's sections after the options, in man(7) format: ENVIRONMENT; FILES, with the
// settings file's fields and each kind's defaults (as --dump-settings writes them on `platform`)
// and the files each package holds (from the generation plan); EXAMPLES.
std::string ManualSections(Platform& platform);

}  // namespace usbwiz
