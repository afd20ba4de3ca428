#include "generate/GenerationPlan.h"

#include "generate/ExtractPayload.h"
#include "generate/InstallerConfigFiles.h"
#include "inf/InfWriters.h"

namespace usbwiz {

namespace {

GenerationStep Payload(PlannedFile file, PayloadId id) {
    const std::string name = file.name;
    return {{std::move(file)},
            [name, id](const WizardSettings& s, Platform& p, const PayloadStore& store) {
                return ExtractPayload(s, name, id, p, store);
            }};
}

template <typename Writer>
GenerationStep Text(std::vector<PlannedFile> files, Writer writer) {
    return {std::move(files), [writer](const WizardSettings& s, Platform& p, const PayloadStore&) {
                return writer(s, p);
            }};
}

GenerationStep ConfigFiles(const WizardSettings& s) {
    return Text(
        {{s.UninstallName + ".u98", "UninstallName"},
         {s.UninstallName + ".u2k", "UninstallName"},
         {"setup.ini", {}}},
        [](const WizardSettings& st, Platform& p) { return WriteInstallerConfigFiles(st, p); });
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
    const std::string& un = s.UninstallName;
    std::vector<GenerationStep> plan{
        Text({{s.InfPrefix + "bus.inf", "InfPrefix"}}, WriteBusInf),
        Text({{"tarnvxd.inf", {}}}, WriteVxdPortInf),
        Text({{s.InfPrefix + "w2k.inf", "InfPrefix"}}, WriteW2kSerialInf),
        Text({{s.InfPrefix + "wdm.inf", "InfPrefix"}}, WriteWdmSerialInf),
        ConfigFiles(s),
        Payload({"tarnbus.sys", {}}, 145),
        Payload({"tarncm95.sys", {}}, 148),
        Payload({"tarncmnt.sys", {}}, 149),
        Payload({"tarncr.sys", {}}, 150),
        Payload({"tarnser.sys", {}}, 151),
        Payload({"tarnwh95.sys", {}}, 152),
        Payload({"tarnwhnt.sys", {}}, 147),
        Payload({"tarncomm.vxd", {}}, 153),
        Payload({"tarnvcd.vxd", {}}, 154),
        Payload({"tarnvcr.vxd", {}}, 155),
        Payload({un + ".exe", "UninstallName"}, 208),
        Payload({un + "2k.exe", "UninstallName"}, 209),
    };
    if (s.UsePreinstaller) plan.push_back(Payload({"PreInstaller.exe", {}}, 202));
    return plan;
}

std::vector<GenerationStep> FerrolinkPlan(const WizardSettings& s) {
    const std::string& un = s.UninstallName;
    std::vector<GenerationStep> plan{
        Text({{s.InfName + ".inf", "InfName"}}, WriteFerrolinkInf),
        ConfigFiles(s),
        Payload({s.SysName + ".sys", "SysName"}, 220),
        Payload({"tnlib.sys", {}}, 219),
        Payload({un + ".exe", "UninstallName"}, 217),
        Payload({un + "2k.exe", "UninstallName"}, 216),
    };
    if (s.UsePreinstaller) plan.push_back(Payload({"PreInstaller.exe", {}}, 218));
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
