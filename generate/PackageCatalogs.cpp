#include "generate/PackageCatalogs.h"

#include <functional>
#include <future>
#include <stdexcept>

#include "catalog/ListIdentifier.h"
#include "catalog/MemberDigests.h"
#include "generate/GeneratePackage.h"
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
};

struct CatalogBuild {
    std::vector<BuiltCatalog> catalogs;
    std::string refusal;
};

BuiltCatalog Build(const DescribedCatalog& catalog, const CatalogSigner* signer) {
    BuiltCatalog file{catalog.name, {}, {}};
    try {
        file.bytes = signer ? BuildSignedCatalogFile(catalog.contents, *signer)
                            : BuildCatalogFile(catalog.contents);
    } catch (const std::runtime_error& failed) {
        file.failure = failed.what();
    }
    return file;
}

// The catalogs are described while the key loads, then signed each on a thread of its own:
// a signature is the longest step of a signed run.
CatalogBuild BuildCatalogs(const PackageContents& package, const CatalogOptions& options,
                           std::future<CatalogSignerOutcome>& signer) {
    const std::vector<DescribedCatalog> described = DescribeCatalogs(package, options);
    CatalogSignerOutcome ready = signer.valid() ? signer.get() : CatalogSignerOutcome{};
    if (!ready.refusal.empty()) return {{}, std::move(ready.refusal)};
    std::vector<std::future<BuiltCatalog>> others;
    for (std::size_t i = 1; i < described.size(); ++i)
        others.push_back(
            std::async(std::launch::async, Build, std::cref(described[i]), ready.signer));
    CatalogBuild build;
    if (!described.empty()) build.catalogs.push_back(Build(described.front(), ready.signer));
    for (std::future<BuiltCatalog>& other : others) build.catalogs.push_back(other.get());
    return build;
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
    // Nothing here waits for the key before a signature needs it. Should staging throw, the
    // futures' ends wait for both threads, which hold no part of the run.
    std::future<CatalogSignerOutcome> signer;
    if (loadSigner) signer = std::async(std::launch::async, loadSigner);
    std::future<CatalogBuild> catalogs =
        std::async(std::launch::async, [&] { return BuildCatalogs(package, options, signer); });
    std::optional<WriteFailure> failure = StagePackage(package, run);
    CatalogBuild built = catalogs.get();
    if (!built.refusal.empty()) return {std::nullopt, std::move(built.refusal)};
    if (failure) return {std::move(failure), {}};
    for (const BuiltCatalog& catalog : built.catalogs) {
        const std::string path = package.directory + catalog.name;
        if (!catalog.failure.empty()) return {WriteFailure{path, catalog.failure}, {}};
        if (std::optional<WriteFailure> failed = run.Stage(path, catalog.bytes))
            return {std::move(failed), {}};
    }
    return {};
}

}  // namespace usbwiz
