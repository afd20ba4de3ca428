#include "generate/PackageCatalogs.h"

#include <algorithm>
#include <functional>
#include <future>
#include <map>
#include <stdexcept>
#include <string_view>

#include "catalog/CatalogFile.h"
#include "catalog/ListIdentifier.h"
#include "generate/GeneratePackage.h"
#include "generate/GenerationPlan.h"
#include "payload/PayloadDigests.h"
#include "platform/TextEncoding.h"

namespace usbwiz {

namespace {

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
    return true;
}

// What an INF file says about catalogs: the active CatalogFile of [Version], and the keys of
// [SourceDisksFiles]. Our own templates only: one entry a line, comments after ';'.
struct CatalogUse {
    std::string catalog;
    std::vector<std::string> sourceFiles;
};

CatalogUse ReadCatalogUse(std::string_view inf) {
    CatalogUse use;
    bool inVersion = false, inSourceFiles = false;  // the two sections that matter
    while (!inf.empty()) {
        const std::size_t end = inf.find('\n');
        std::string_view line = Trimmed(inf.substr(0, end));
        inf.remove_prefix(end == std::string_view::npos ? inf.size() : end + 1);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const std::string_view section = line.substr(1, line.find(']') - 1);
            inVersion = SameLetters(section, "Version");
            inSourceFiles = SameLetters(section, "SourceDisksFiles");
            continue;
        }
        if (!inVersion && !inSourceFiles) continue;
        line = Trimmed(line.substr(0, line.find_first_of(";\r")));
        const std::size_t equals = line.find('=');
        const std::string_view key = Trimmed(line.substr(0, equals));
        if (inSourceFiles)
            use.sourceFiles.emplace_back(key);
        else if (SameLetters(key, "CatalogFile") && equals != std::string_view::npos)
            use.catalog = std::string(Trimmed(line.substr(equals + 1)));
    }
    return use;
}

// Every file of the plan by name: the text the plan renders for it, or the carried file's id.
struct PlanContents {
    std::map<std::string, std::string> texts;
    std::map<std::string, PayloadId> payloads;
};

PlanContents ContentsOf(const WizardSettings& settings) {
    PlanContents contents;
    for (const GenerationStep& step : GenerationPlan(settings)) {
        const std::vector<std::string> texts =
            step.texts ? step.texts(settings) : std::vector<std::string>{};
        for (std::size_t i = 0; i < step.files.size(); ++i) {
            const PlannedFile& file = step.files[i];
            if (file.payload)
                contents.payloads[file.name] = *file.payload;
            else if (i < texts.size())
                contents.texts[file.name] = texts[i];
        }
    }
    return contents;
}

bool EndsWithInf(const std::string& name) {
    return name.size() > 4 && SameLetters(std::string_view(name).substr(name.size() - 4), ".inf");
}

MemberDigests DigestsOf(const std::string& name, const PlanContents& contents,
                        HashAlgorithm algorithm) {
    if (const auto text = contents.texts.find(name); text != contents.texts.end())
        return ComputeMemberDigests(text->second, algorithm);
    const PayloadDigests* payload = FindPayloadDigests(contents.payloads.at(name));
    if (payload == nullptr) throw std::logic_error("no digests for payload of " + name);
    if (algorithm == HashAlgorithm::Sha1) return {payload->kind, std::string(payload->sha1), {}};
    return {payload->kind, std::string(payload->sha256), std::string(payload->sha1)};
}

// The Windows versions the INF files are for, as catalogs name them: 98 and Me (platform 1),
// 2000 and XP (platform 2) read the SHA-1 form; the SHA-256 form is for Windows 8 and later.
std::string OsAttributeFor(HashAlgorithm algorithm) {
    return algorithm == HashAlgorithm::Sha1 ? "1:4.10,1:4.90,2:5.00,2:5.1" : "2:6.2,2:6.3,2:10.0";
}

std::vector<PlannedCatalog> CatalogsNamedIn(const PlanContents& contents) {
    std::vector<PlannedCatalog> catalogs;
    for (const auto& [name, text] : contents.texts) {
        if (!EndsWithInf(name)) continue;
        const CatalogUse use = ReadCatalogUse(text);
        if (use.catalog.empty()) continue;
        auto catalog = std::find_if(catalogs.begin(), catalogs.end(),
                                    [&](const PlannedCatalog& c) { return c.name == use.catalog; });
        if (catalog == catalogs.end()) catalog = catalogs.insert(catalogs.end(), {use.catalog, {}});
        catalog->members.push_back(name);
        catalog->members.insert(catalog->members.end(), use.sourceFiles.begin(),
                                use.sourceFiles.end());
    }
    for (PlannedCatalog& catalog : catalogs) {
        std::sort(catalog.members.begin(), catalog.members.end());
        catalog.members.erase(std::unique(catalog.members.begin(), catalog.members.end()),
                              catalog.members.end());
    }
    return catalogs;
}

struct BuiltCatalog {
    std::string name;  // in the package
    std::string bytes;
    std::string failure;  // why it could not be built (a key that cannot sign); empty when built
};

std::vector<BuiltCatalog> BuildCatalogs(const WizardSettings& settings,
                                        const CatalogOptions& options) {
    const PlanContents contents = ContentsOf(settings);
    std::vector<BuiltCatalog> built;
    for (const PlannedCatalog& planned : CatalogsNamedIn(contents)) {
        CatalogContents catalog;
        catalog.algorithm = options.algorithm;
        catalog.osAttribute = OsAttributeFor(options.algorithm);
        catalog.creationTime = options.creationTime;
        for (const std::string& member : planned.members)
            catalog.members.push_back({ToUtf8(member, options.codePage).value_or(member),
                                       DigestsOf(member, contents, options.algorithm)});
        catalog.listIdentifier = ListIdentifierOf(catalog.members);
        BuiltCatalog& file = built.emplace_back(BuiltCatalog{planned.name, {}, {}});
        try {
            file.bytes = options.signer ? BuildSignedCatalogFile(catalog, *options.signer)
                                        : BuildCatalogFile(catalog);
        } catch (const std::runtime_error& failed) {
            file.failure = failed.what();
        }
    }
    return built;
}

}  // namespace

std::vector<PlannedCatalog> PlanCatalogs(const WizardSettings& settings) {
    return CatalogsNamedIn(ContentsOf(settings));
}

std::optional<WriteFailure> GeneratePackageWithCatalogs(const WizardSettings& settings,
                                                        Platform& platform,
                                                        const PayloadStore& payloads,
                                                        const CatalogOptions& options) {
    // The catalogs take nothing from the written files: they are built and signed while the
    // package is written, and written after it.
    std::future<std::vector<BuiltCatalog>> catalogs =
        std::async(std::launch::async, BuildCatalogs, std::cref(settings), std::cref(options));
    const std::optional<WriteFailure> failure =
        GeneratePackage(settings, platform, payloads).failure;
    const std::vector<BuiltCatalog> built = catalogs.get();
    if (failure) return failure;
    for (const BuiltCatalog& catalog : built) {
        const std::string path = settings.GenerationDirectory + catalog.name;
        if (!catalog.failure.empty()) return WriteFailure{path, catalog.failure};
        if (std::optional<WriteFailure> failed = WritePackageFile(platform, path, catalog.bytes))
            return failed;
    }
    return std::nullopt;
}

}  // namespace usbwiz
