#include "cli/EffectiveSettings.h"

#include "cli/NativePath.h"
#include "inf/InfStem.h"
#include "settings/SettingsFields.h"

namespace usbwiz {

namespace {

std::string_view KindOption(std::uint8_t kind) {
    return kind == kComPortPackage ? "--kind com" : "--kind ferrolink";
}

void SetFlag(WizardSettings& s, std::string_view name, std::int32_t value) {
    s.*(FindFlagField(name)->member) = value;
}

void ApplyCertification(WizardSettings& s, Certification answer) {
    // The certification page's three answers.
    s.CertificationChoice = answer == Certification::None ? 0 : 1;
    s.DefaultCatalogFiles = answer == Certification::Default ? 1 : 0;
}

}  // namespace

EffectiveSettings BuildEffectiveSettings(const CommandLineOptions& options,
                                         const SettingsFile* file, std::string_view fileName,
                                         Platform& platform, char separator) {
    EffectiveSettings result;
    const std::optional<std::uint8_t> fileKind = file ? file->kind : std::nullopt;
    if (options.kind && fileKind && *options.kind != *fileKind) {
        result.error = std::string(KindOption(*options.kind)) +
                       " does not match PackageKind = " + std::to_string(*fileKind) + " in " +
                       std::string(fileName);
        return result;
    }
    const std::optional<std::uint8_t> kind = options.kind ? options.kind : fileKind;
    if (!kind) {
        result.error = "--kind com|ferrolink is required";
        return result;
    }

    WizardSettings& s = result.settings;
    ApplyPackageDefaults(s, *kind, platform);
    for (const TextOption& o : kTextOptions) result.origins[o.field] = std::string(o.option);
    result.origins["GenerationDirectory"] = std::string(kOutOption);

    if (file != nullptr) {
        for (const SettingsFileText& t : file->texts) {
            s.*(t.field->member) = t.value;
            result.origins[t.field->name] = std::string(fileName) + ":" + std::to_string(t.line) +
                                            ": " + std::string(t.field->name);
        }
        for (const SettingsFileFlag& f : file->flags) s.*(f.field->member) = f.value;
    }

    // As clearing the wizard's check box does; options given beside it still have the last word.
    for (const FlagOption* f : options.flags)
        if (f->field == "UsePreinstaller" && f->value == 0) SwitchOffPreinstaller(s);

    for (const TextOptionValue& t : options.texts) {
        s.*(FindTextField(t.option->field)->member) = t.value;
        result.origins[t.option->field] = std::string(t.option->option);
    }
    for (const FlagOption* f : options.flags) SetFlag(s, f->field, f->value);
    if (options.certification) ApplyCertification(s, *options.certification);

    s.Vid = UpperCased(s.Vid);
    s.Pid = UpperCased(s.Pid);

    if (options.outDirectory) {
        result.outputDirectory = NativeDirectoryText(*options.outDirectory, separator);
        s.GenerationDirectory = WithTrailingSeparator(*result.outputDirectory, separator);
    }
    return result;
}

}  // namespace usbwiz
