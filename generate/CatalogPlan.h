#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace usbwiz {

// A catalog file the package's INF files name, and its members: those INF files and every file
// they name for copying ([SourceDisksFiles]), by their names in the package, in byte order.
struct PlannedCatalog {
    std::string name;
    std::vector<std::string> members;
};

// An INF file of the package: its name and its text as the package holds it.
struct InfText {
    std::string_view name;
    std::string_view text;
};

// The catalogs the INF texts name, each once, in the order they are first named with the INF
// files taken in byte order of their names: only an active CatalogFile line of [Version] names
// one. Empty when none does (no certification planned, or the Ferrolink INF).
std::vector<PlannedCatalog> CatalogsNamedIn(std::vector<InfText> infs);

}  // namespace usbwiz
