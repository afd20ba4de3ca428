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
            lines.push_back(CarriedFileName(entry.outputName, s));
    lines.emplace_back();
    return Lines(lines);
}

std::string Ids(const WizardSettings& s) {
    return "*VID_" + s.Vid + "&PID_" + s.Pid + "*";
}

// The uninstall key of the package: the INF stem, "COMM" for the COM port package, the IDs.
std::string UninstallKey(const WizardSettings& s) {
    return GetUpperInfStem(s) + (s.PackageKind == Package::ComPort ? "COMM&" : "&") + s.Vid + "&" +
           s.Pid;
}

bool HasKind(const WizardSettings& s) {
    return s.PackageKind == Package::ComPort || s.PackageKind == Package::Ferrolink;
}

}  // namespace

std::string RenderUninstallIni98(const WizardSettings& s) {
    if (!HasKind(s)) return {};
    std::vector<std::string> lines{Ids(s), s.LongName};
    if (s.PackageKind == Package::ComPort)
        lines.insert(lines.end(),
                     {s.InfPrefix + "bus.inf", s.InfPrefix + "wdm.inf", "tarnvxd.inf"});
    else
        lines.push_back(s.InfName + ".inf");
    lines.insert(lines.end(),
                 {std::string(QuietWord(s.QuietUninstall)), std::string(LeaveWord(s.LeaveFiles)),
                  UninstallKey(s), s.TargetDirectory});
    return Lines(lines);
}

std::string RenderUninstallIni2k(const WizardSettings& s) {
    if (!HasKind(s)) return {};
    return Lines({Ids(s), std::string(QuietWord(s.QuietSetup)),
                  std::string(LeaveWord(s.LeaveFiles)), UninstallKey(s), s.TargetDirectory});
}

std::string RenderSetupIni(const WizardSettings& s) {
    if (!HasKind(s)) return {};
    if (s.PackageKind == Package::Ferrolink)
        return SetupIni(s, s.UsbDeviceName, {s.InfName + ".inf"});
    return SetupIni(
        s, s.ComDeviceName,
        {s.InfPrefix + "bus.inf", s.InfPrefix + "w2k.inf", s.InfPrefix + "wdm.inf", "tarnvxd.inf"});
}

}  // namespace usbwiz
