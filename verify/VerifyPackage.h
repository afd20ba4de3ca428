#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "catalog/CertificateReader.h"
#include "platform/Platform.h"
#include "verify/Verdict.h"

namespace usbwiz {

// The most verify reads of one file: INF files and catalogs are a few kilobytes to a few
// megabytes (a display driver's INF); a carried file is at most a large driver or program.
inline constexpr std::size_t kLargestInfFile = 64u << 20;
inline constexpr std::size_t kLargestCatalogFile = 64u << 20;
inline constexpr std::size_t kLargestCarriedFile = std::size_t{1} << 30;

struct VerifyRequest {
    std::string folder;  // as this system names it, ending in `separator`
    char separator = '/';
    std::span<const ParsedCertificate> roots;  // none: the chains are not judged
    std::int64_t now = 0;                      // seconds since 1970
    unsigned codePage = 1252;                  // of INF files without a byte-order mark
};

// One line of the answer: a file of the package and the catalog it was checked against (the
// catalog itself for its signature's line; empty for a file no INF names).
struct VerifyLine {
    std::string file, catalog;
    Verdict verdict = Verdict::Ok;
    std::string reason;
};

struct VerifyOutcome {
    std::vector<VerifyLine> lines;
    std::string unusable;  // why the folder cannot be checked at all (no INF file, an INF file or
                           // catalog that cannot be read); lines are then empty
};

// What Windows will say of the package in `request.folder` when it installs it, file by file:
// for each INF file and each architecture it is for, the INF file and every file its
// [SourceDisksFiles] name must be in the folder (names compared as Windows does) and listed by
// their digest in the catalog the INF names, and that catalog's signature must hold. Then, as
// notes, the catalog members no such file has and the folder's files no INF names.
VerifyOutcome VerifyPackage(Platform& platform, const VerifyRequest& request);

}  // namespace usbwiz
