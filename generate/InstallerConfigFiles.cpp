#include "generate/InstallerConfigFiles.h"

#include <string_view>
#include <vector>

#include "generate/GenerationPlan.h"
#include "inf/InfStem.h"
#include "payload/PayloadManifest.h"

namespace usbwiz {

namespace {

std::string_view QuietWord(bool flag) {
    return flag ? "Quiet" : "NoQuiet";
}
std::string_view LeaveWord(bool flag) {
    return flag ? "LeaveSource" : "NoLeaveSource";
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

// setup.ini: the package's name, manufacturer, target directory, quiet and copy words, then its
// files (INF files, uninstallers, their INI files, the drivers in the manifest's order) and an
// empty line.
std::string SetupIni(const WizardSettings& s, const std::string& displayName,
                     const std::vector<std::string>& infFiles) {
    const std::string& un = s.UninstallName;
    std::vector<std::string> lines{displayName + " Driver Set", s.LongName, s.TargetDirectory,
                                   std::string(QuietWord(s.QuietUninstall)), "Copy Files"};
    lines.insert(lines.end(), infFiles.begin(), infFiles.end());
    lines.insert(lines.end(), {un + ".exe", un + "2k.exe", un + ".u98", un + ".u2k"});
    for (const PayloadEntry& entry : kPayloadManifest)
        if (entry.package == s.PackageKind && entry.role == PayloadRole::Driver)
            lines.push_back(PayloadFileOf(entry, s).name);
    lines.emplace_back();
    return Lines(lines);
}

InstallerConfigTexts ComPortTexts(const WizardSettings& s) {
    const std::string ids = "*VID_" + s.Vid + "&PID_" + s.Pid + "*";
    const std::string key = GetUpperInfStem(s) + "COMM&" + s.Vid + "&" + s.Pid;
    return {
        Lines({ids, s.LongName, s.InfPrefix + "bus.inf", s.InfPrefix + "wdm.inf", "tarnvxd.inf",
               std::string(QuietWord(s.QuietUninstall)), std::string(LeaveWord(s.LeaveFiles)), key,
               s.TargetDirectory}),
        Lines({ids, std::string(QuietWord(s.QuietSetup)), std::string(LeaveWord(s.LeaveFiles)), key,
               s.TargetDirectory}),
        SetupIni(s, s.ComDeviceName,
                 {s.InfPrefix + "bus.inf", s.InfPrefix + "w2k.inf", s.InfPrefix + "wdm.inf",
                  "tarnvxd.inf"}),
    };
}

InstallerConfigTexts FerrolinkTexts(const WizardSettings& s) {
    const std::string ids = "*VID_" + s.Vid + "&PID_" + s.Pid + "*";
    const std::string key = GetUpperInfStem(s) + "&" + s.Vid + "&" + s.Pid;
    return {
        Lines({ids, s.LongName, s.InfName + ".inf", std::string(QuietWord(s.QuietUninstall)),
               std::string(LeaveWord(s.LeaveFiles)), key, s.TargetDirectory}),
        Lines({ids, std::string(QuietWord(s.QuietSetup)), std::string(LeaveWord(s.LeaveFiles)), key,
               s.TargetDirectory}),
        SetupIni(s, s.UsbDeviceName, {s.InfName + ".inf"}),
    };
}

}  // namespace

InstallerConfigTexts BuildInstallerConfigTexts(const WizardSettings& settings) {
    switch (settings.PackageKind) {
        case Package::ComPort:
            return ComPortTexts(settings);
        case Package::Ferrolink:
            return FerrolinkTexts(settings);
        default:
            return {};
    }
}

std::optional<WriteFailure> WriteInstallerConfigFiles(const WizardSettings& settings,
                                                      Platform& platform) {
    const InstallerConfigTexts texts = BuildInstallerConfigTexts(settings);
    const std::string& dir = settings.GenerationDirectory;
    const std::pair<std::string, const std::string&> files[] = {
        {dir + settings.UninstallName + ".u98", texts.u98},
        {dir + settings.UninstallName + ".u2k", texts.u2k},
        {dir + "setup.ini", texts.setupIni},
    };
    for (const auto& [path, text] : files)
        if (std::optional<WriteFailure> failure = WritePackageFile(platform, path, text))
            return failure;
    return std::nullopt;
}

}  // namespace usbwiz
