#include "generate/GenerationPlan.h"

#include "generate/ExtractPayload.h"
#include "generate/InstallerConfigFiles.h"
#include "inf/InfWriters.h"

namespace usbwiz {

namespace {

GenerationStep Payload(std::string fileName, PayloadId id) {
    return {{fileName}, [fileName, id](WizardSettings& s, Platform& p, const PayloadStore& store) {
                return ExtractPayload(s, fileName, id, p, store);
            }};
}

template <typename Writer>
GenerationStep Text(std::vector<std::string> fileNames, Writer writer) {
    return {std::move(fileNames),
            [writer](WizardSettings& s, Platform& p, const PayloadStore&) { return writer(s, p); }};
}

GenerationStep ConfigFiles(const WizardSettings& s) {
    return Text({s.UninstallName + ".u98", s.UninstallName + ".u2k", "setup.ini"},
                [](WizardSettings& st, Platform& p) { return WriteInstallerConfigFiles(st, p); });
}

std::vector<GenerationStep> ComPortPlan(const WizardSettings& s) {
    const std::string& un = s.UninstallName;
    std::vector<GenerationStep> plan{
        Text({s.InfPrefix + "bus.inf"}, WriteBusInf),
        Text({"tarnvxd.inf"}, WriteVxdPortInf),
        Text({s.InfPrefix + "w2k.inf"}, WriteW2kSerialInf),
        Text({s.InfPrefix + "wdm.inf"}, WriteWdmSerialInf),
        ConfigFiles(s),
        Payload("tarnbus.sys", 145),
        Payload("tarncm95.sys", 148),
        Payload("tarncmnt.sys", 149),
        Payload("tarncr.sys", 150),
        Payload("tarnser.sys", 151),
        Payload("tarnwh95.sys", 152),
        Payload("tarnwhnt.sys", 147),
        Payload("tarncomm.vxd", 153),
        Payload("tarnvcd.vxd", 154),
        Payload("tarnvcr.vxd", 155),
        Payload(un + ".exe", 208),
        Payload(un + "2k.exe", 209),
    };
    if (s.UsePreinstaller != 0) plan.push_back(Payload("PreInstaller.exe", 202));
    return plan;
}

std::vector<GenerationStep> FerrolinkPlan(const WizardSettings& s) {
    const std::string& un = s.UninstallName;
    std::vector<GenerationStep> plan{
        Text({s.InfName + ".inf"}, WriteFerrolinkInf),
        ConfigFiles(s),
        Payload(s.SysName + ".sys", 220),
        Payload("tnlib.sys", 219),
        Payload(un + ".exe", 217),
        Payload(un + "2k.exe", 216),
    };
    if (s.UsePreinstaller != 0) plan.push_back(Payload("PreInstaller.exe", 218));
    return plan;
}

}  // namespace

std::vector<GenerationStep> GenerationPlan(const WizardSettings& settings) {
    switch (settings.PackageKind) {
        case kComPortPackage:
            return ComPortPlan(settings);
        case kFerrolinkPackage:
            return FerrolinkPlan(settings);
        default:
            return {};
    }
}

std::vector<std::string> PlannedOutputPaths(const WizardSettings& settings) {
    std::vector<std::string> paths;
    for (const GenerationStep& step : GenerationPlan(settings))
        for (const std::string& name : step.fileNames)
            paths.push_back(settings.GenerationDirectory + name);
    return paths;
}

}  // namespace usbwiz
