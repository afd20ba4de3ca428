#include "generate/PackageCatalogs.h"

#include <stdexcept>

#include "catalog/ListIdentifier.h"
#include "catalog/MemberDigests.h"
#include "generate/GeneratePackage.h"
#include "generate/SharedSteps.h"
#include "payload/PayloadDigests.h"
#include "platform/TextEncoding.h"

namespace usbwiz {

namespace {

MemberDigests DigestsOf(const std::string& name, const PackageContents& package,
                        HashAlgorithm algorithm) {
    const PackageFile* file = package.Find(name);
    if (file == nullptr)
        throw std::logic_error("catalog member " + name + " is not in the package");
    if (!file->planned.payload) return ComputeMemberDigests(file->text, algorithm);
    const PayloadDigests* payload = FindPayloadDigests(*file->planned.payload);
    if (payload == nullptr) throw std::logic_error("no digests for payload of " + name);
    if (algorithm == HashAlgorithm::Sha1) return {payload->kind, std::string(payload->sha1), {}};
    return {payload->kind, std::string(payload->sha256), std::string(payload->sha1)};
}

// The Windows versions the INF files are for, as catalogs name them: 98 and Me (platform 1),
// 2000 and XP (platform 2) read the SHA-1 form; the SHA-256 form is for Windows 8 and later.
std::string OsAttributeFor(HashAlgorithm algorithm) {
    return algorithm == HashAlgorithm::Sha1 ? "1:4.10,1:4.90,2:5.00,2:5.1" : "2:6.2,2:6.3,2:10.0";
}

struct BuiltCatalog {
    std::string name;  // in the package
    std::string bytes;
    std::string failure;  // why it could not be built (a key that cannot sign); empty when built
    std::string refusal;  // the key's refusal for that failure, when the signer words one
};

BuiltCatalog Build(const DescribedCatalog& catalog, const CatalogSignerOutcome& signer) {
    BuiltCatalog file{catalog.name, {}, {}, {}};
    try {
        file.bytes = signer.signer ? BuildSignedCatalogFile(catalog.contents, *signer.signer)
                                   : BuildCatalogFile(catalog.contents);
    } catch (const std::runtime_error& failed) {
        file.failure = failed.what();
        if (signer.signer && signer.refuseFailedSignature)
            file.refusal = signer.refuseFailedSignature(failed);
    }
    return file;
}

}  // namespace

std::vector<DescribedCatalog> DescribeCatalogs(const PackageContents& package,
                                               const CatalogOptions& options) {
    std::vector<DescribedCatalog> described;
    for (const PlannedCatalog& planned : package.catalogs) {
        DescribedCatalog& catalog = described.emplace_back();
        catalog.name = planned.name;
        catalog.contents.algorithm = options.algorithm;
        catalog.contents.osAttribute = OsAttributeFor(options.algorithm);
        catalog.contents.creationTime = options.creationTime;
        for (const std::string& member : planned.members)
            catalog.contents.members.push_back({ToUtf8(member, options.codePage).value_or(member),
                                                DigestsOf(member, package, options.algorithm)});
        catalog.contents.listIdentifier = ListIdentifierOf(catalog.contents.members);
    }
    return described;
}

CatalogStaging StagePackageWithCatalogs(const PackageContents& package,
                                        const CatalogOptions& options,
                                        const CatalogSignerLoader& loadSigner, StagedRun& run) {
    // Loading the key, describing the catalogs and then building each (a signature is the
    // longest step of a signed run) go on beside the staging, on helper threads: two, so that
    // both catalogs are signed side by side once the key is there. The run's thread starts its
    // staged files on their way to the disk (the commit then has less to do) and takes what is
    // left.
    CatalogSignerOutcome signer;
    std::vector<DescribedCatalog> described;
    std::vector<BuiltCatalog> built(package.catalogs.size());
    std::vector<SharedSteps::Step> steps{
        [&] {
            if (loadSigner) signer = loadSigner();
        },
        [&] { described = DescribeCatalogs(package, options); },
    };
    for (std::size_t i = 0; i < built.size(); ++i)
        steps.emplace_back([&, i] {
            if (signer.refusal.empty()) built[i] = Build(described[i], signer);
        });
    const std::size_t firstCatalog = 2;  // the catalogs wait for the key and the descriptions
    const int helpers = 2;
    SharedSteps shared(std::move(steps), firstCatalog, helpers);  // stopped should staging throw
    std::optional<WriteFailure> failure = StagePackage(package, run);
    if (!failure) run.StartWritingOut();
    shared.Finish();
    if (!signer.refusal.empty()) return {std::nullopt, std::move(signer.refusal)};
    for (BuiltCatalog& catalog : built)
        if (!catalog.refusal.empty()) return {std::nullopt, std::move(catalog.refusal)};
    if (failure) return {std::move(failure), {}};
    for (const BuiltCatalog& catalog : built) {
        const std::string path = package.directory + catalog.name;
        if (!catalog.failure.empty()) return {WriteFailure{path, catalog.failure}, {}};
        if (std::optional<WriteFailure> failed = run.Stage(path, catalog.bytes))
            return {std::move(failed), {}};
    }
    return {};
}

}  // namespace usbwiz
