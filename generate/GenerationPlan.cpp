#include "generate/GenerationPlan.h"

#include "generate/ExtractPayload.h"
#include "generate/InstallerConfigFiles.h"
#include "inf/InfWriters.h"
#include "inf/TemplateText.h"
#include "payload/PayloadManifest.h"

namespace usbwiz {

namespace {

GenerationStep Payload(PlannedFile file, PayloadId id) {
    const std::string name = file.name;
    return {{std::move(file)},
            nullptr,
            [name, id](const WizardSettings& s, Platform& p, const PayloadStore& store) {
                return ExtractPayload(s, name, id, p, store);
            }};
}

using TextWriter = std::optional<WriteFailure> (*)(const WizardSettings&, Platform&);
using TextRenderer = std::string (*)(const WizardSettings&);

GenerationStep Text(PlannedFile file, TextWriter writer, TextRenderer render) {
    return {{std::move(file)},
            [render](const WizardSettings& s) { return std::vector<std::string>{render(s)}; },
            [writer](const WizardSettings& s, Platform& p, const PayloadStore&) {
                return writer(s, p);
            }};
}

GenerationStep ConfigFiles(const WizardSettings& s) {
    return {{{s.UninstallName + ".u98", "UninstallName"},
             {s.UninstallName + ".u2k", "UninstallName"},
             {"setup.ini", {}}},
            [](const WizardSettings& st) {
                InstallerConfigTexts texts = BuildInstallerConfigTexts(st);
                return std::vector<std::string>{std::move(texts.u98), std::move(texts.u2k),
                                                std::move(texts.setupIni)};
            },
            [](const WizardSettings& st, Platform& p, const PayloadStore&) {
                return WriteInstallerConfigFiles(st, p);
            }};
}

// The carried files of the record's kind, in the manifest's order; the preinstaller only when
// one is wanted.
void AddPayloads(std::vector<GenerationStep>& plan, const WizardSettings& s) {
    for (const PayloadEntry& entry : kPayloadManifest) {
        if (entry.package != s.PackageKind) continue;
        if (entry.role == PayloadRole::Preinstaller && !s.UsePreinstaller) continue;
        PlannedFile file = PayloadFileOf(entry, s);
        file.payload = entry.id;
        plan.push_back(Payload(std::move(file), entry.id));
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

std::vector<GenerationStep> ComPortPlan(const WizardSettings& s) {
    std::vector<GenerationStep> plan{
        Text({s.InfPrefix + "bus.inf", "InfPrefix"}, WriteBusInf, RenderBusInf),
        Text({"tarnvxd.inf", {}}, WriteVxdPortInf, RenderVxdPortInf),
        Text({s.InfPrefix + "w2k.inf", "InfPrefix"}, WriteW2kSerialInf, RenderW2kSerialInf),
        Text({s.InfPrefix + "wdm.inf", "InfPrefix"}, WriteWdmSerialInf, RenderWdmSerialInf),
        ConfigFiles(s),
    };
    AddPayloads(plan, s);
    return plan;
}

std::vector<GenerationStep> FerrolinkPlan(const WizardSettings& s) {
    std::vector<GenerationStep> plan{
        Text({s.InfName + ".inf", "InfName"}, WriteFerrolinkInf, RenderFerrolinkInf),
        ConfigFiles(s),
    };
    AddPayloads(plan, s);
    return plan;
}

}  // namespace

std::vector<GenerationStep> GenerationPlan(const WizardSettings& settings) {
    switch (settings.PackageKind) {
        case Package::ComPort:
            return ComPortPlan(settings);
        case Package::Ferrolink:
            return FerrolinkPlan(settings);
        default:
            return {};
    }
}

std::vector<std::string> PlannedOutputPaths(const WizardSettings& settings) {
    std::vector<std::string> paths;
    for (const GenerationStep& step : GenerationPlan(settings))
        for (const PlannedFile& file : step.files)
            paths.push_back(settings.GenerationDirectory + file.name);
    return paths;
}

PlannedFile PayloadFileOf(const PayloadEntry& entry, const WizardSettings& settings) {
    // The field between the braces of a name such as "{{SysName}}.sys", empty for a fixed name.
    std::string_view field;
    if (const std::size_t open = entry.outputName.find("{{"); open != std::string_view::npos)
        field = entry.outputName.substr(open + 2, entry.outputName.find("}}") - open - 2);
    return {ExpandMarkers(entry.outputName, settings), field};
}

std::string NameClash::Describe() const {
    std::string text(1, '\'');
    text += file;
    text += "' would be the same file as '";
    text += other;
    text += "', which the package also holds (Windows does not tell upper from lower case)";
    return text;
}

std::optional<NameClash> FindNameClash(const WizardSettings& settings) {
    WizardSettings withEveryFile = settings;
    withEveryFile.UsePreinstaller = true;
    std::vector<PlannedFile> files;
    for (GenerationStep& step : GenerationPlan(withEveryFile))
        for (PlannedFile& file : step.files) files.push_back(std::move(file));
    for (std::size_t i = 0; i < files.size(); ++i)
        for (std::size_t j = 0; j < files.size(); ++j)
            if (i != j && !files[i].field.empty() &&
                SameNameOnWindows(files[i].name, files[j].name))
                return NameClash{files[i].field, files[i].name, files[j].name};
    return std::nullopt;
}

}  // namespace usbwiz
