#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalog/CatalogFile.h"
#include "catalog/CatalogSignature.h"
#include "generate/PackageContents.h"
#include "generate/StagedRun.h"
#include "generate/WriteFailure.h"
#include "platform/Hashing.h"

namespace usbwiz {

struct CatalogOptions {
    HashAlgorithm algorithm = HashAlgorithm::Sha1;
    std::int64_t creationTime = 0;  // seconds since 1970 (SOURCE_DATE_EPOCH when it is set)
    unsigned codePage = 1252;       // of the package's file names, for the catalog's UTF-16
};

// A catalog of the package by its name, with what it lists.
struct DescribedCatalog {
    std::string name;
    CatalogContents contents;
};

// Every catalog the package's INF texts name, with each member's UTF-8 name and digests:
// generated texts hashed as the package holds them, carried files by the digests the build
// computed. Needs no key.
std::vector<DescribedCatalog> DescribeCatalogs(const PackageContents& package,
                                               const CatalogOptions& options);

// Who signs the catalogs once the key is loaded and checked: the signer (nullptr: unsigned
// catalogs), or why signing is refused.
struct CatalogSignerOutcome {
    const CatalogSigner* signer = nullptr;
    std::string refusal;
    // Words the refusal of the key when a catalog's signature fails (`failure`: what signing
    // threw; a signature that does not verify is a damaged key). Unset: that catalog fails like
    // a file that cannot be written.
    std::function<std::string(const std::exception& failure)> refuseFailedSignature;
};
using CatalogSignerLoader = std::function<CatalogSignerOutcome()>;

// What staging a package with its catalogs came to. A refusal means nothing may be committed.
struct CatalogStaging {
    std::optional<WriteFailure> failure;
    std::string refusal;
};

// Stages the package's files and then its catalogs into `run`, committing nothing. While the
// files are staged, helper threads have `loadSigner` (when given) load and check the key,
// describe the catalogs and build them, each signature verified with the key (a key that fails
// refuses the key, or fails like a file); the run's thread starts its staged files for the disk
// and takes the steps left (SharedSteps). A refused signer is answered before any failure to
// stage.
CatalogStaging StagePackageWithCatalogs(const PackageContents& package,
                                        const CatalogOptions& options,
                                        const CatalogSignerLoader& loadSigner, StagedRun& run);

}  // namespace usbwiz
