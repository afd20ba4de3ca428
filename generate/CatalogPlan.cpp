#include "generate/CatalogPlan.h"

#include <algorithm>

#include "settings/Trimmed.h"

namespace usbwiz {

namespace {

constexpr std::string_view kBlanks = " \t\r";

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
        std::string_view line = Trimmed(inf.substr(0, end), kBlanks);
        inf.remove_prefix(end == std::string_view::npos ? inf.size() : end + 1);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const std::string_view section = line.substr(1, line.find(']') - 1);
            inVersion = SameLetters(section, "Version");
            inSourceFiles = SameLetters(section, "SourceDisksFiles");
            continue;
        }
        if (!inVersion && !inSourceFiles) continue;
        line = Trimmed(line.substr(0, line.find_first_of(";\r")), kBlanks);
        const std::size_t equals = line.find('=');
        const std::string_view key = Trimmed(line.substr(0, equals), kBlanks);
        if (inSourceFiles)
            use.sourceFiles.emplace_back(key);
        else if (SameLetters(key, "CatalogFile") && equals != std::string_view::npos)
            use.catalog = std::string(Trimmed(line.substr(equals + 1), kBlanks));
    }
    return use;
}

}  // namespace

std::vector<PlannedCatalog> CatalogsNamedIn(std::vector<InfText> infs) {
    std::sort(infs.begin(), infs.end(),
              [](const InfText& a, const InfText& b) { return a.name < b.name; });
    std::vector<PlannedCatalog> catalogs;
    for (const InfText& inf : infs) {
        const CatalogUse use = ReadCatalogUse(inf.text);
        if (use.catalog.empty()) continue;
        auto catalog = std::find_if(catalogs.begin(), catalogs.end(),
                                    [&](const PlannedCatalog& c) { return c.name == use.catalog; });
        if (catalog == catalogs.end()) catalog = catalogs.insert(catalogs.end(), {use.catalog, {}});
        catalog->members.emplace_back(inf.name);
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

}  // namespace usbwiz
