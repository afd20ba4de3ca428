#include "generate/GeneratePackageWithCatalogs.h"

namespace usbwiz {

GenerationOutcome GeneratePackageWithCatalogs(const WizardSettings& settings, Platform& platform,
                                              const PayloadStore& store,
                                              const CatalogRequest& catalogs) {
    const PackageContents contents = BuildPackageContents(settings, store);
    if (contents.files.empty()) return {};
    StagedRun run(platform);
    CatalogSignerLoader signer;
    if (catalogs.signer != nullptr)
        signer = [&catalogs] { return CatalogSignerOutcome{catalogs.signer, {}, {}}; };
    CatalogStaging staged = StagePackageWithCatalogs(contents, catalogs.options, signer, run);
    // The signer was checked before; a refusal now is a failure like any other.
    if (!staged.failure && !staged.refusal.empty())
        staged.failure = WriteFailure{contents.directory, staged.refusal};
    if (!staged.failure && !catalogs.testCertificatePath.empty())
        staged.failure = run.Stage(catalogs.testCertificatePath, catalogs.testCertificate,
                                   MessageIcon::Error, CommitTurn::First);
    if (!staged.failure) staged.failure = run.Commit();
    if (staged.failure) return {false, std::move(staged.failure)};
    return {true, std::nullopt};
}

}  // namespace usbwiz
