#include "verify/VerifyPackage.h"

#include <map>
#include <memory>
#include <optional>
#include <set>

#include "catalog/MemberDigests.h"
#include "verify/CatalogReader.h"
#include "verify/CatalogSignatureCheck.h"
#include "verify/InfReader.h"
#include "verify/InfSigningPlan.h"
#include "verify/PackageFolder.h"
#include "verify/WindowsNameCase.h"

namespace usbwiz {

namespace {

std::string UpperHex(std::string_view bytes) {
    std::string hex;
    for (const char byte : bytes) {
        hex += "0123456789ABCDEF"[static_cast<unsigned char>(byte) >> 4];
        hex += "0123456789ABCDEF"[static_cast<unsigned char>(byte) & 15];
    }
    return hex;
}

std::string_view BaseName(std::string_view path) {
    const std::size_t cut = path.find_last_of('\\');
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// Files Windows loads as drivers, and catalogs: one that no INF names is a packaging fault (a
// leftover of another package, or an entry an INF lacks). Programs and texts beside the
// drivers (a preinstaller and its setup.ini) are the maker's business.
bool IsDriverFile(std::string_view name) {
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos) return false;
    const std::string extension = UpperCaseName(name.substr(dot));
    for (const char* driver : {".SYS", ".DLL", ".VXD", ".DRV", ".CAT"})
        if (extension == driver) return true;
    return false;
}

const char* HashName(HashAlgorithm algorithm) {
    return algorithm == HashAlgorithm::Sha1 ? "SHA-1" : "SHA-256";
}

struct Catalog {
    std::string name;                    // as the folder spells it
    std::unique_ptr<std::string> bytes;  // where `parsed` points, whatever moves the catalog
    ParsedCatalog parsed;
    TrustOutcome trust;
    std::multimap<std::string_view, const CatalogEntry*> byTag;
    std::set<std::string> accounted;  // tags a file of the package has

    // The entry Windows finds `digest` by, when its indirect data holds that digest too.
    const CatalogEntry* Listing(const std::string& digest) const {
        const auto [first, last] = byTag.equal_range(digest);
        for (auto entry = first; entry != last; ++entry)
            if (entry->second->digest == digest) return entry->second;
        return nullptr;
    }
};

// Both digests of a file, or why it cannot be read.
struct FileDigests {
    MemberDigests sha256;  // .digest SHA-256, .sha1 SHA-1, of the kind Windows hashes it as
    std::string failure;

    const std::string& For(HashAlgorithm algorithm) const {
        return algorithm == HashAlgorithm::Sha1 ? sha256.sha1 : sha256.digest;
    }
};

class PackageCheck {
  public:
    PackageCheck(Platform& platform, const VerifyRequest& request)
        : platform_(platform),
          request_(request),
          folder_(platform, request.folder, request.separator) {}

    VerifyOutcome Run() {
        const std::vector<std::string> infNames = folder_.NamesEndingIn(".inf");
        if (infNames.empty()) return Unusable("no INF file in the folder");
        std::vector<std::pair<std::string, std::vector<InfSigningPlan>>> infs;
        for (const std::string& name : infNames) {
            const PackageFolder::Lookup found = folder_.Find(name);
            const FileRead read = platform_.ReadWholeFile(found.path, kLargestInfFile);
            if (!read)
                return Unusable(name + ": " + ReadFailure(read, "an INF file", kLargestInfFile));
            infs.emplace_back(
                name, SigningPlansOf(ReadInf(InfTextAsUtf8(read.bytes, request_.codePage))));
        }
        for (const auto& [name, plans] : infs)
            for (const InfSigningPlan& plan : plans)
                if (plan.catalog)
                    if (std::string why = LoadCatalog(*plan.catalog); !why.empty())
                        return Unusable(why);
        for (const auto& [name, plans] : infs)
            for (const InfSigningPlan& plan : plans) {
                CheckFile(name, name, plan.catalog);
                for (const std::string& file : plan.files) CheckFile(name, file, plan.catalog);
            }
        for (Catalog& catalog : catalogs_)
            outcome_.lines.push_back(
                {catalog.name, catalog.name, catalog.trust.verdict, catalog.trust.reason});
        for (const Catalog& catalog : catalogs_)
            for (const CatalogEntry& entry : catalog.parsed.entries)
                if (entry.digest && catalog.accounted.count(entry.tag) == 0)
                    outcome_.lines.push_back(
                        {entry.fileName.empty() ? UpperHex(entry.tag) : entry.fileName,
                         catalog.name, Verdict::NoFile,
                         "listed in " + catalog.name +
                             ", but no file the INF files name has its digest"});
        for (const std::string& name : folder_.NotAskedFor())
            outcome_.lines.push_back(
                IsDriverFile(name)
                    ? VerifyLine{name, "", Verdict::Stray,
                                 "no INF file names it: a driver file left from another package, "
                                 "or one an INF should name"}
                    : VerifyLine{name, "", Verdict::NotNamed,
                                 "no INF file names it: Windows neither installs nor checks it"});
        return std::move(outcome_);
    }

  private:
    VerifyOutcome Unusable(std::string why) { return {{}, std::move(why)}; }

    // The system's reason, or the limit a file is over.
    static std::string ReadFailure(const FileRead& read, const char* what, std::size_t limit) {
        if (!read.tooLarge) return read.failure;
        return "larger than " + std::to_string(limit >> 20) + " MiB, the most " + what +
               " may hold";
    }

    Catalog* CatalogNamed(const std::string& name) {
        const auto known = catalogIndex_.find(UpperCaseName(name));
        return known == catalogIndex_.end() || known->second < 0
                   ? nullptr
                   : &catalogs_[static_cast<std::size_t>(known->second)];
    }

    // Reads and judges a catalog once; an unreadable one makes the folder unusable, a missing
    // one is the fault of the files that need it.
    std::string LoadCatalog(const std::string& name) {
        const std::string upper = UpperCaseName(name);
        if (catalogIndex_.count(upper) != 0) return {};
        const PackageFolder::Lookup found = folder_.Find(name);
        catalogIndex_[upper] = -1;
        if (found.found != PackageFolder::Found::Yes) return {};
        Catalog catalog;
        catalog.name = found.name;
        const FileRead read = platform_.ReadWholeFile(found.path, kLargestCatalogFile);
        if (!read) return found.name + ": " + ReadFailure(read, "a catalog", kLargestCatalogFile);
        catalog.bytes = std::make_unique<std::string>(read.bytes);
        CatalogReading reading = ParseCatalog(*catalog.bytes);
        if (!reading.catalog) return found.name + ": not a catalog (" + reading.error + ")";
        catalog.parsed = std::move(*reading.catalog);
        for (const CatalogEntry& entry : catalog.parsed.entries)
            catalog.byTag.emplace(entry.tag, &entry);
        catalog.trust = CheckCatalogSignature(catalog.parsed, request_.roots, request_.now);
        catalogIndex_[upper] = static_cast<int>(catalogs_.size());
        catalogs_.push_back(std::move(catalog));
        return {};
    }

    const FileDigests& DigestsOf(const std::string& path) {
        const auto known = digests_.find(path);
        if (known != digests_.end()) return known->second;
        FileDigests& digests = digests_[path];
        const FileRead read = platform_.ReadWholeFile(path, kLargestCarriedFile);
        if (read)
            digests.sha256 = ComputeMemberDigests(read.bytes, HashAlgorithm::Sha256);
        else
            digests.failure = ReadFailure(read, "a carried file", kLargestCarriedFile);
        return digests;
    }

    void Add(std::string file, const std::string& catalog, Verdict verdict, std::string reason) {
        outcome_.lines.push_back({std::move(file), catalog, verdict, std::move(reason)});
    }

    void CheckFile(const std::string& inf, const std::string& file,
                   const std::optional<std::string>& catalogName) {
        const std::string upperCatalog = catalogName ? UpperCaseName(*catalogName) : "";
        if (!checked_.insert(UpperCaseName(file) + '\n' + upperCatalog).second) return;
        const PackageFolder::Lookup found = folder_.Find(file);
        Catalog* catalog = catalogName ? CatalogNamed(*catalogName) : nullptr;
        const std::string catalogText = catalog ? catalog->name : catalogName.value_or("");
        // Without the one file, its member is accounted for by the line that says why.
        if (found.found != PackageFolder::Found::Yes && catalog != nullptr)
            AccountByName(*catalog, BaseName(file));
        if (found.found == PackageFolder::Found::Missing)
            return Add(found.name, catalogText, Verdict::Missing,
                       inf + " names it; the folder has no such file");
        if (found.found == PackageFolder::Found::Ambiguous)
            return Add(found.name, catalogText, Verdict::Ambiguous,
                       "more than one file has this name but for case; Windows would see one");
        if (!catalogName)
            return Add(found.name, "", Verdict::NoCatalog,
                       inf + " names no catalog ([Version] CatalogFile)");
        if (catalog == nullptr)
            return Add(found.name, catalogText, Verdict::NoCatalog,
                       inf + " names " + *catalogName + ", which is not in the folder");
        const FileDigests& digests = DigestsOf(found.path);
        if (!digests.failure.empty())
            return Add(found.name, catalog->name, Verdict::Unreadable, digests.failure);

        const HashAlgorithm algorithm = catalog->parsed.algorithm;
        const std::string& digest = digests.For(algorithm);
        const char* kind = digests.sha256.kind == MemberKind::PeImage ? " PE image hash" : " hash";
        if (catalog->Listing(digest) != nullptr) {
            Account(*catalog, digests);
            return Add(found.name, catalog->name, Verdict::Ok,
                       std::string("listed by its ") + HashName(algorithm) + kind);
        }
        for (Catalog& other : catalogs_)
            if (&other != catalog &&
                other.Listing(digests.For(other.parsed.algorithm)) != nullptr) {
                Account(other, digests);
                return Add(found.name, catalog->name, Verdict::WrongCatalog,
                           "listed in " + other.name + ", not in " + catalog->name + " that " +
                               inf + " names");
            }
        if (AccountByName(*catalog, BaseName(file)))
            return Add(found.name, catalog->name, Verdict::Changed,
                       catalog->name +
                           " lists another digest for this name: the file changed after the "
                           "catalog was made");
        return Add(found.name, catalog->name, Verdict::NotListed,
                   std::string("its ") + HashName(algorithm) + kind + " " + UpperHex(digest) +
                       " is not in " + catalog->name);
    }

    static void Account(Catalog& catalog, const FileDigests& digests) {
        catalog.accounted.insert(digests.sha256.digest);
        catalog.accounted.insert(digests.sha256.sha1);
    }

    // Marks the members of that "File" name as accounted for; whether there was one.
    static bool AccountByName(Catalog& catalog, std::string_view name) {
        bool found = false;
        for (const CatalogEntry& entry : catalog.parsed.entries)
            if (entry.digest && !entry.fileName.empty() && SameName(entry.fileName, name)) {
                catalog.accounted.insert(entry.tag);
                found = true;
            }
        return found;
    }

    Platform& platform_;
    const VerifyRequest& request_;
    PackageFolder folder_;
    std::vector<Catalog> catalogs_;
    std::map<std::string, int> catalogIndex_;  // by upper-cased name; -1: named, not readable here
    std::map<std::string, FileDigests> digests_;
    std::set<std::string> checked_;
    VerifyOutcome outcome_;
};

}  // namespace

VerifyOutcome VerifyPackage(Platform& platform, const VerifyRequest& request) {
    return PackageCheck(platform, request).Run();
}

}  // namespace usbwiz
