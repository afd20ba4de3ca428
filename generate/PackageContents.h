#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/CatalogPlan.h"
#include "generate/GenerationPlan.h"
#include "payload/PayloadStore.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

// One file of the package in memory: its plan entry and its bytes.
struct PackageFile {
    PlannedFile planned;
    std::string text;  // a generated text, rendered once
    // A carried file: the store's own bytes, never a copy; nullopt when this build lacks it.
    std::optional<std::string_view> carried;

    // The bytes the file holds; nullopt for a carried file this build lacks.
    std::optional<std::string_view> Bytes() const {
        if (planned.payload) return carried;
        return std::string_view(text);
    }
};

// Everything a run writes, planned once and rendered once, for every part of the run to read:
// the name checks, the listings, the catalogs and the writes.
struct PackageContents {
    std::string directory;           // GenerationDirectory, which every name goes behind
    std::vector<PackageFile> files;  // in the order they are written
    // Files of the kind the record's options leave out (the preinstaller without
    // UsePreinstaller): not written, but a name may not clash with them either, as in the
    // wizard, whose options page may still switch them on.
    std::vector<PlannedFile> leftOut;
    std::vector<PlannedCatalog> catalogs;  // what the INF texts name; empty unless certifying

    // The package file of that name, or nullptr.
    const PackageFile* Find(std::string_view name) const;
    // directory + name of every file, in the order they are written.
    std::vector<std::string> FilePaths() const;
    // The first clash among the files written and those left out.
    std::optional<NameClash> FindNameClash() const;
};

// The record's package: one plan, each generated text rendered once, carried files viewed in
// `store`. Empty for a kind other than 1 or 2.
PackageContents BuildPackageContents(const WizardSettings& settings, const PayloadStore& store);

// The texts rendered so far by this process; tests count them to hold a run to one rendering.
std::size_t TextsRenderedSoFar();

}  // namespace usbwiz
