#pragma once

#include <string>
#include <string_view>

#include "generate/GeneratePackage.h"
#include "generate/PackageCatalogs.h"

namespace usbwiz {

// What a generation writes beside the package: the catalogs its INF texts name, signed by a
// signer loaded and checked beforehand (nullptr: unsigned), and the test certificate that
// signer holds, if it is one.
struct CatalogRequest {
    CatalogOptions options;
    const CatalogSigner* signer = nullptr;
    std::string testCertificatePath;   // empty: no test certificate to save
    std::string_view testCertificate;  // DER
};

// GeneratePackage with the catalogs: the files, the catalogs (each signature verified) and the
// test certificate are staged with usbdrvgen's code, then committed together, the test
// certificate first; any failure before the commit leaves every folder as it was.
GenerationOutcome GeneratePackageWithCatalogs(const WizardSettings& settings, Platform& platform,
                                              const PayloadStore& store,
                                              const CatalogRequest& catalogs);

}  // namespace usbwiz
