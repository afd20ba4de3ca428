#include "generate/GeneratePackage.h"

#include "inf/InfStem.h"

namespace usbwiz {

std::optional<WriteFailure> StagePackage(const PackageContents& contents, StagedRun& run) {
    for (const PackageFile& file : contents.files) {
        const std::string path = contents.directory + file.planned.name;
        const std::optional<std::string_view> bytes = file.Bytes();
        // A build without this payload: reported like a file that cannot be written, and no
        // empty file is left behind that could pass for the real one.
        if (!bytes)
            return WriteFailure{
                path, "payload " + std::to_string(*file.planned.payload) + " is not in this build",
                file.planned.failureIcon};
        if (std::optional<WriteFailure> failure = run.Stage(path, *bytes, file.planned.failureIcon))
            return failure;
    }
    return std::nullopt;
}

GenerationOutcome GeneratePackage(const WizardSettings& settings, Platform& platform,
                                  const PayloadStore& store) {
    const PackageContents contents = BuildPackageContents(settings, store);
    if (contents.files.empty()) return {};
    StagedRun run(platform);
    if (std::optional<WriteFailure> failure = StagePackage(contents, run))
        return {false, std::move(failure)};
    if (std::optional<WriteFailure> failure = run.Commit()) return {false, std::move(failure)};
    return {true, std::nullopt};
}

void UpperCaseShortNameForGeneration(WizardSettings& settings) {
    if (settings.PackageKind == Package::ComPort)
        settings.ShortName = UpperCased(settings.ShortName);
}

}  // namespace usbwiz
