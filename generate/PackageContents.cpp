#include "generate/PackageContents.h"

#include <atomic>

namespace usbwiz {

namespace {

std::atomic<std::size_t> textsRendered{0};

bool EndsWithInf(std::string_view name) {
    if (name.size() <= 4) return false;
    const std::string_view ext = name.substr(name.size() - 4);
    return ext[0] == '.' && (ext[1] | 0x20) == 'i' && (ext[2] | 0x20) == 'n' &&
           (ext[3] | 0x20) == 'f';
}

}  // namespace

const PackageFile* PackageContents::Find(std::string_view name) const {
    for (const PackageFile& file : files)
        if (file.planned.name == name) return &file;
    return nullptr;
}

std::vector<std::string> PackageContents::FilePaths() const {
    std::vector<std::string> paths;
    for (const PackageFile& file : files) paths.push_back(directory + file.planned.name);
    return paths;
}

std::optional<NameClash> PackageContents::FindNameClash() const {
    std::vector<PlannedFile> every;
    for (const PackageFile& file : files) every.push_back(file.planned);
    every.insert(every.end(), leftOut.begin(), leftOut.end());
    return usbwiz::FindNameClash(every);
}

PackageContents BuildPackageContents(const WizardSettings& settings, const PayloadStore& store) {
    PackageContents contents;
    contents.directory = settings.GenerationDirectory;
    std::vector<InfText> infs;
    for (PlannedFile& planned : GenerationPlan(settings)) {
        if (!planned.wanted) {
            contents.leftOut.push_back(std::move(planned));
            continue;
        }
        PackageFile& file = contents.files.emplace_back();
        file.planned = std::move(planned);
        if (file.planned.payload) {
            file.carried = store.Find(*file.planned.payload);
        } else {
            file.text = file.planned.render(settings);
            ++textsRendered;
        }
    }
    // Read once every text has its place: the views stay valid while `contents` is unchanged.
    for (const PackageFile& file : contents.files)
        if (!file.planned.payload && EndsWithInf(file.planned.name))
            infs.push_back({file.planned.name, file.text});
    contents.catalogs = CatalogsNamedIn(std::move(infs));
    return contents;
}

std::size_t TextsRenderedSoFar() {
    return textsRendered;
}

}  // namespace usbwiz
