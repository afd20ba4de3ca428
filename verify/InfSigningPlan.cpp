#include "verify/InfSigningPlan.h"

#include <algorithm>
#include <set>

#include "verify/WindowsNameCase.h"

namespace usbwiz {

namespace {

constexpr const char* kArchitectures[] = {"x86", "amd64", "arm64"};

// The architecture of a TargetOSVersion decoration ("NTamd64", "NTx86.6.1"); empty for none.
std::string ArchitectureOf(std::string_view decoration) {
    const std::string upper = UpperCaseName(decoration.substr(0, decoration.find('.')));
    for (const char* architecture : kArchitectures)
        if (upper == "NT" + UpperCaseName(architecture)) return architecture;
    return {};
}

std::set<std::string> DecoratedArchitectures(const InfFile& inf) {
    std::set<std::string> found;
    for (const char* architecture : kArchitectures) {
        const std::string suffix = std::string(".") + architecture;
        if (inf.Value("Version", std::string("CatalogFile.NT") + architecture) ||
            inf.HasSection("SourceDisksFiles" + suffix) ||
            inf.HasSection("SourceDisksNames" + suffix))
            found.insert(architecture);
    }
    for (const InfLine& line : inf.Section("Manufacturer"))
        for (std::size_t i = 1; i < line.fields.size(); ++i)
            if (std::string architecture = ArchitectureOf(line.fields[i]); !architecture.empty())
                found.insert(std::move(architecture));
    return found;
}

// "a\\.\\b\\" as "a\\b": empty and "." levels dropped, '/' read as '\'.
std::string JoinLevels(std::initializer_list<std::string_view> parts) {
    std::string path;
    for (const std::string_view part : parts) {
        std::size_t start = 0;
        while (start <= part.size()) {
            const std::size_t end = std::min(part.find_first_of("\\/", start), part.size());
            const std::string_view level = part.substr(start, end - start);
            if (!level.empty() && level != ".") {
                if (!path.empty()) path += '\\';
                path.append(level);
            }
            start = end + 1;
        }
    }
    return path;
}

// The path a [SourceDisksNames] entry gives its disk (the fourth field), for `architecture`.
std::string DiskPath(const InfFile& inf, const std::string& architecture, const std::string& id) {
    for (const std::string& section :
         {"SourceDisksNames." + architecture, std::string("SourceDisksNames")}) {
        if (architecture.empty() && section != "SourceDisksNames") continue;
        for (const InfLine& line : inf.Section(section))
            if (line.key == id) return line.fields.size() > 3 ? line.fields[3] : std::string();
    }
    return {};
}

InfSigningPlan PlanFor(const InfFile& inf, const std::string& architecture) {
    InfSigningPlan plan;
    plan.architecture = architecture;
    std::vector<std::string> keys = {"CatalogFile.NT", "CatalogFile"};
    if (!architecture.empty()) keys.insert(keys.begin(), "CatalogFile.NT" + architecture);
    for (const std::string& key : keys)
        if (!plan.catalog) plan.catalog = inf.Value("Version", key);
    if (plan.catalog && plan.catalog->empty()) plan.catalog.reset();

    std::set<std::string> seen;
    for (const std::string& section :
         {"SourceDisksFiles." + architecture, std::string("SourceDisksFiles")}) {
        if (architecture.empty() && section != "SourceDisksFiles") continue;
        for (const InfLine& line : inf.Section(section)) {
            const bool keyed = !line.key.empty();
            const std::string& name = keyed ? line.key : line.fields.front();
            if (name.empty()) continue;
            const std::string disk = keyed && !line.fields.empty() ? line.fields[0] : "";
            const std::string subdirectory = keyed && line.fields.size() > 1 ? line.fields[1] : "";
            std::string path = JoinLevels({DiskPath(inf, architecture, disk), subdirectory, name});
            // A decorated section's entry wins over the plain one's for the same file.
            if (seen.insert(UpperCaseName(name)).second) plan.files.push_back(std::move(path));
        }
    }
    return plan;
}

}  // namespace

std::vector<InfSigningPlan> SigningPlansOf(const InfFile& inf) {
    std::vector<InfSigningPlan> plans;
    std::set<std::string> catalogs;
    for (const std::string& architecture : DecoratedArchitectures(inf)) {
        plans.push_back(PlanFor(inf, architecture));
        if (plans.back().catalog) catalogs.insert(UpperCaseName(*plans.back().catalog));
    }
    // Other architectures take the plain entries: they count when they name another catalog.
    InfSigningPlan plain = PlanFor(inf, "");
    if (plans.empty() || (plain.catalog && catalogs.count(UpperCaseName(*plain.catalog)) == 0))
        plans.push_back(std::move(plain));
    return plans;
}

}  // namespace usbwiz
