#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "benchmarks/CapturedPackage.h"

namespace usbwiz {

// Empty when `folder` holds exactly `files` (no other entry) with exactly their bytes;
// otherwise what differs.
std::string FolderMismatch(const std::filesystem::path& folder,
                           const std::vector<CapturedFile>& files);

}  // namespace usbwiz
