#pragma once

#include <optional>
#include <string>
#include <vector>

#include "verify/InfReader.h"

namespace usbwiz {

// What Windows checks of one INF file on one processor architecture: the catalog its [Version]
// names there (CatalogFile.NT<arch>, else CatalogFile.NT, else CatalogFile) and the files its
// [SourceDisksFiles.<arch>] and [SourceDisksFiles] name, where [SourceDisksNames] puts them.
struct InfSigningPlan {
    std::string architecture;            // "x86", "amd64", "arm64"; empty: all alike
    std::optional<std::string> catalog;  // nullopt: the INF names none
    std::vector<std::string> files;      // paths relative to the INF's folder, '\' between levels
};

// One plan per architecture the INF file is decorated for (in [Version], [SourceDisksFiles],
// [SourceDisksNames] or [Manufacturer]), and one (architecture "") for the others when the INF
// names none or its plain CatalogFile names another catalog.
std::vector<InfSigningPlan> SigningPlansOf(const InfFile& inf);

}  // namespace usbwiz
