#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalog/CatalogSignature.h"
#include "inf/TextFileWriter.h"
#include "payload/PayloadStore.h"
#include "platform/Hashing.h"
#include "platform/Platform.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

// A catalog file the package's INF files name, and its members: those INF files and every file
// they name for copying ([SourceDisksFiles]), by their names in the package.
struct PlannedCatalog {
    std::string name;
    std::vector<std::string> members;
};

// Read from the INF texts the record's plan writes: only INF files whose CatalogFile line is
// active name a catalog. Empty when none does (no certification planned, or the Ferrolink INF).
std::vector<PlannedCatalog> PlanCatalogs(const WizardSettings& settings);

struct CatalogOptions {
    HashAlgorithm algorithm = HashAlgorithm::Sha1;
    std::int64_t creationTime = 0;          // seconds since 1970 (SOURCE_DATE_EPOCH when it is set)
    unsigned codePage = 1252;               // of the package's file names, for the catalog's UTF-16
    const CatalogSigner* signer = nullptr;  // unsigned catalogs without one
};

// Generates the package, then writes the catalogs of PlanCatalogs beside it, signed when the
// options name a signer: generated texts are hashed as the plan renders them, carried files by
// the digests the build computed. What failed, or nullopt.
std::optional<WriteFailure> GeneratePackageWithCatalogs(const WizardSettings& settings,
                                                        Platform& platform,
                                                        const PayloadStore& payloads,
                                                        const CatalogOptions& options);

}  // namespace usbwiz
