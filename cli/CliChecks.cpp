#include "cli/CliChecks.h"

#include <algorithm>
#include <array>

#include "cli/NativePath.h"
#include "settings/FolderRules.h"
#include "settings/InputRules.h"
#include "settings/NameRules.h"
#include "settings/SettingsFields.h"

namespace usbwiz {

namespace {

std::string LengthRule(std::size_t maxLength) {
    return "at most " + std::to_string(maxLength) + " characters";
}

// One check of a page's Next, in the order the page runs them.
enum class Rule { NotBlank, Hex, Path };
struct PageCheck {
    std::string_view field;
    Rule rule;
};

constexpr std::array<PageCheck, 11> kComPortChecks{{
    {"UninstallName", Rule::NotBlank},
    {"InfPrefix", Rule::NotBlank},
    {"ShortName", Rule::NotBlank},
    {"LongName", Rule::NotBlank},
    {"ComDeviceName", Rule::NotBlank},
    {"UsbDeviceName", Rule::NotBlank},
    {"Vid", Rule::Hex},
    {"Pid", Rule::Hex},
    {"Vid", Rule::NotBlank},
    {"Pid", Rule::NotBlank},
    {"TargetDirectory", Rule::Path},
}};

constexpr std::array<PageCheck, 11> kFerrolinkChecks{{
    {"UninstallName", Rule::NotBlank},
    {"InfName", Rule::NotBlank},
    {"SysName", Rule::NotBlank},
    {"ShortName", Rule::NotBlank},
    {"LongName", Rule::NotBlank},
    {"UsbDeviceName", Rule::NotBlank},
    {"Vid", Rule::Hex},
    {"Pid", Rule::Hex},
    {"Vid", Rule::NotBlank},
    {"Pid", Rule::NotBlank},
    {"TargetDirectory", Rule::Path},
}};

constexpr std::array<std::string_view, 2> kComPortUnused{"InfName", "SysName"};
constexpr std::array<std::string_view, 2> kFerrolinkUnused{"InfPrefix", "ComDeviceName"};

bool Passes(Rule rule, std::string_view text) {
    switch (rule) {
        case Rule::NotBlank:
            return !IsBlank(text);
        case Rule::Hex:
            return IsHexText(text);
        case Rule::Path:
            return IsValidPathText(text);
    }
    return false;
}

std::string_view MessageOf(Rule rule) {
    switch (rule) {
        case Rule::NotBlank:
            return kFillInAllBlanksMessage;
        case Rule::Hex:
            return kInvalidHexMessage;
        case Rule::Path:
            return kInvalidDirectoryMessage;
    }
    return {};
}

}  // namespace

std::optional<std::string> FindRefusal(const EffectiveSettings& effective,
                                       const PackageContents& package, char separator) {
    const WizardSettings& s = effective.package;
    const bool com = s.PackageKind == Package::ComPort;
    const auto text = [&](std::string_view field) -> const std::string& {
        return s.*(FindTextField(field)->member);
    };
    const auto refuse = [&](std::string_view field, std::string_view rule) {
        return effective.origins.at(field) + ": " + std::string(rule);
    };

    if (const std::optional<NameClash> clash = package.FindNameClash())
        return refuse(clash->field, clash->Describe());

    for (const TextField& f : kTextFields) {
        const bool out = f.name == "GenerationDirectory";
        if (out && !effective.outputDirectory) continue;
        const std::string& value = out ? *effective.outputDirectory : s.*(f.member);
        // No field but --out is unconverted here, so only --out can still hold a control
        // character; the name rules below see the converted texts.
        if (out && value.empty()) return refuse(f.name, "empty (give the output directory)");
        if (out)
            if (const auto unsafe =
                    FindUnsafeText(s.PackageKind, f.name, value, effective.codePage))
                return refuse(f.name, *unsafe);
        if (value.size() > f.maxLength) return refuse(f.name, LengthRule(f.maxLength));
    }

    for (const PageCheck& c : com ? kComPortChecks : kFerrolinkChecks)
        if (!Passes(c.rule, text(c.field))) return refuse(c.field, MessageOf(c.rule));

    for (std::string_view field : com ? kComPortUnused : kFerrolinkUnused)
        if (!text(field).empty())
            return refuse(field, com ? "not used by --kind com" : "not used by --kind ferrolink");

    for (const TextField& f : kTextFields)
        if (const auto unsafe =
                FindUnsafeText(s.PackageKind, f.name, s.*(f.member), effective.codePage))
            return refuse(f.name, *unsafe);

    if (effective.outputDirectory) {
        if (!IsValidPathText(AsWizardPath(*effective.outputDirectory, separator)))
            return refuse("GenerationDirectory", kInvalidDirectoryMessage);
        if (const std::optional<std::string> refused =
                FindFolderRefusal(*effective.outputDirectory, separator, kUtf8CodePage))
            return refuse("GenerationDirectory", *refused);
    }

    if (!s.CertificationChoice && s.DefaultCatalogFiles)
        return std::string(kUncertifiedDefaultCatalogsRule);
    return std::nullopt;
}

}  // namespace usbwiz
