#include "generate/GenerationPlan.h"

#include <atomic>

#include "generate/InstallerConfigFiles.h"
#include "inf/InfWriters.h"
#include "inf/TemplateText.h"
#include "payload/PayloadManifest.h"

namespace usbwiz {

namespace {

std::atomic<std::size_t> plansMade{0};

PlannedFile Text(std::string name, std::string_view field, TextRenderer render,
                 MessageIcon failureIcon = MessageIcon::Error) {
    return {std::move(name), field, std::nullopt, render, failureIcon};
}

// The field between the braces of a name such as "{{SysName}}.sys", empty for a fixed name.
std::string_view FieldOf(std::string_view outputName) {
    const std::size_t open = outputName.find("{{");
    if (open == std::string_view::npos) return {};
    return outputName.substr(open + 2, outputName.find("}}") - open - 2);
}

// The carried files of the record's kind, in the manifest's order; the preinstaller wanted only
// when UsePreinstaller is set.
void AddPayloads(std::vector<PlannedFile>& plan, const WizardSettings& s) {
    for (const PayloadEntry& entry : kPayloadManifest) {
        if (entry.package != s.PackageKind) continue;
        plan.push_back({CarriedFileName(entry.outputName, s), FieldOf(entry.outputName), entry.id,
                        nullptr, MessageIcon::Error,
                        entry.role != PayloadRole::Preinstaller || s.UsePreinstaller});
    }
}

bool SameNameOnWindows(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto fold = [](char c) {
            return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
        };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

}  // namespace

std::vector<PlannedFile> GenerationPlan(const WizardSettings& s) {
    ++plansMade;
    std::vector<PlannedFile> plan;
    switch (s.PackageKind) {
        case Package::ComPort:
            plan.push_back(Text(s.InfPrefix + "bus.inf", "InfPrefix", RenderBusInf));
            plan.push_back(Text("tarnvxd.inf", {}, RenderVxdPortInf, MessageIcon::Warning));
            plan.push_back(Text(s.InfPrefix + "w2k.inf", "InfPrefix", RenderW2kSerialInf));
            plan.push_back(Text(s.InfPrefix + "wdm.inf", "InfPrefix", RenderWdmSerialInf));
            break;
        case Package::Ferrolink:
            plan.push_back(Text(s.InfName + ".inf", "InfName", RenderFerrolinkInf));
            break;
        default:
            return plan;
    }
    plan.push_back(Text(s.UninstallName + ".u98", "UninstallName", RenderUninstallIni98));
    plan.push_back(Text(s.UninstallName + ".u2k", "UninstallName", RenderUninstallIni2k));
    plan.push_back(Text("setup.ini", {}, RenderSetupIni));
    AddPayloads(plan, s);
    return plan;
}

std::size_t PlansMadeSoFar() {
    return plansMade;
}

std::string CarriedFileName(std::string_view outputName, const WizardSettings& settings) {
    const std::string name = ExpandMarkers(outputName, settings);
    const std::string_view ext =
        std::string_view(name).substr(name.size() < 3 ? 0 : name.size() - 3);
    if (ext == "exe" || ext == "sys" || ext == "vxd") return name;
    return settings.InfPrefix + name;
}

std::string NameClash::Describe() const {
    std::string text(1, '\'');
    text += file;
    text += "' would be the same file as '";
    text += other;
    text += "', which the package also holds (Windows does not tell upper from lower case)";
    return text;
}

std::optional<NameClash> FindNameClash(std::span<const PlannedFile> files) {
    for (std::size_t i = 0; i < files.size(); ++i)
        for (std::size_t j = 0; j < files.size(); ++j)
            if (i != j && !files[i].field.empty() &&
                SameNameOnWindows(files[i].name, files[j].name))
                return NameClash{files[i].field, files[i].name, files[j].name};
    return std::nullopt;
}

std::optional<NameClash> FindNameClash(const WizardSettings& settings) {
    return FindNameClash(GenerationPlan(settings));
}

}  // namespace usbwiz
