#include "cli/EffectiveSettings.h"

#include "cli/NativePath.h"
#include "cli/OptionTable.h"
#include "inf/InfStem.h"
#include "platform/TextEncoding.h"
#include "settings/NameRules.h"
#include "settings/SettingsFields.h"
#include "settings/Utf8.h"

namespace usbwiz {

namespace {

std::string_view KindOption(Package kind) {
    return kind == Package::ComPort ? "--kind com" : "--kind ferrolink";
}

void SetFlag(WizardSettings& s, std::string_view name, bool value) {
    s.*(FindFlagField(name)->member) = value;
}

void ApplyCertification(WizardSettings& s, Certification answer) {
    // The certification page's three answers.
    s.CertificationChoice = answer != Certification::None;
    s.DefaultCatalogFiles = answer == Certification::Default;
}

// `text` (UTF-8) in `codePage`, or why it cannot be.
std::optional<std::string> Encode(std::string_view text, unsigned codePage, std::string& why) {
    if (const std::optional<std::size_t> bad = FindInvalidUtf8(text)) {
        why = "not UTF-8 text (byte " + std::to_string(*bad + 1) + ")";
        return std::nullopt;
    }
    // Control characters first, by code point: C1 controls have bytes in some code pages.
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Character c = *DecodeUtf8(text, at);
        if (c.codePoint < 0x20 || (c.codePoint >= 0x7F && c.codePoint <= 0x9F)) {
            why = NotAllowed(DescribeCodePoint(text.substr(at), c), kControlCharacterWhy);
            return std::nullopt;
        }
        at += c.length;
    }
    CodePageText encoded = FromUtf8(text, codePage);
    if (encoded.unmappableAt) {
        const std::string_view rest = text.substr(*encoded.unmappableAt);
        why = DescribeCodePoint(rest, *DecodeUtf8(rest, 0)) + " is not in code page " +
              std::to_string(codePage) + " (--codepage chooses the package's code page)";
        return std::nullopt;
    }
    return std::move(encoded.bytes);
}

}  // namespace

std::string EncodeForPackage(EffectiveSettings& effective) {
    effective.package = effective.settings;
    std::string why;
    for (const TextField& f : kTextFields) {
        if (f.name == "GenerationDirectory") continue;
        std::optional<std::string> encoded =
            Encode(effective.settings.*(f.member), effective.codePage, why);
        if (!encoded) return effective.origins.at(f.name) + ": " + why;
        effective.package.*(f.member) = std::move(*encoded);
    }
    if (!effective.settings.GenerationDirectory.empty()) {
        const std::optional<std::string> native =
            NativePathFromUtf8(effective.settings.GenerationDirectory);
        if (!native) return "--out: this system's file calls cannot name that directory";
        effective.package.GenerationDirectory = *native;
    }
    return {};
}

EffectiveSettings BuildEffectiveSettings(const CommandLineOptions& options,
                                         const SettingsFile* file, std::string_view fileName,
                                         Platform& platform, char separator) {
    EffectiveSettings result;
    const std::optional<Package> fileKind = file ? file->kind : std::nullopt;
    if (options.kind && fileKind && *options.kind != *fileKind) {
        result.error = std::string(KindOption(*options.kind)) + " does not match PackageKind = " +
                       std::to_string(static_cast<int>(*fileKind)) + " in " + std::string(fileName);
        return result;
    }
    const std::optional<Package> kind = options.kind ? options.kind : fileKind;
    if (!kind) {
        result.error = "--kind com|ferrolink is required";
        return result;
    }

    WizardSettings& s = result.settings;
    ApplyPackageDefaults(s, *kind, platform.WindowsDirectory());
    for (const OptionRow& row : OptionTable())
        if (row.effect == OptionEffect::Field) result.origins[row.field] = std::string(row.name);
    result.origins["GenerationDirectory"] = "--out";

    if (file != nullptr) {
        for (const SettingsFileText& t : file->texts) {
            s.*(t.field->member) = t.value;
            result.origins[t.field->name] = std::string(fileName) + ":" + std::to_string(t.line) +
                                            ": " + std::string(t.field->name);
        }
        for (const SettingsFileFlag& f : file->flags) s.*(f.field->member) = f.value;
    }

    // As clearing the wizard's check box does; options given beside it still have the last word.
    for (const OptionRow* f : options.flags)
        if (f->field == "UsePreinstaller" && !f->flagValue) SwitchOffPreinstaller(s);

    for (const TextOptionValue& t : options.texts) {
        s.*(FindTextField(t.option->field)->member) = t.value;
        result.origins[t.option->field] = std::string(t.option->name);
    }
    for (const OptionRow* f : options.flags) SetFlag(s, f->field, f->flagValue);
    if (options.certification) ApplyCertification(s, *options.certification);
    result.codePage = options.codePage.value_or(
        file != nullptr && file->codePage ? *file->codePage : SystemCodePage());

    s.Vid = UpperCased(s.Vid);
    s.Pid = UpperCased(s.Pid);

    if (options.outDirectory) {
        result.outputDirectory = NativeDirectoryText(*options.outDirectory, separator);
        s.GenerationDirectory = WithTrailingSeparator(*result.outputDirectory, separator);
    }
    return result;
}

}  // namespace usbwiz
