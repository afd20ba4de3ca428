#pragma once

#include <string>
#include <vector>

#include "benchmarks/CapturedPackage.h"

namespace usbwiz {

// The yardstick for generation: the same files written with nothing but open, write and close,
// opened the way the platform opens them. Answers an empty text, or why a file failed.
std::string WritePlainly(const std::vector<CapturedFile>& files);

}  // namespace usbwiz
