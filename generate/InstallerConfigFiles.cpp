#include "generate/InstallerConfigFiles.h"

#include <initializer_list>
#include <string_view>

#include "inf/InfStem.h"

namespace usbwiz {

namespace {

std::string_view QuietWord(bool flag) {
    return flag ? "Quiet" : "NoQuiet";
}
std::string_view LeaveWord(bool flag) {
    return flag ? "LeaveSource" : "NoLeaveSource";
}

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

InstallerConfigTexts ComPortTexts(const WizardSettings& s) {
    const std::string ids = "*VID_" + s.Vid + "&PID_" + s.Pid + "*";
    const std::string key = GetUpperInfStem(s) + "COMM&" + s.Vid + "&" + s.Pid;
    const std::string& un = s.UninstallName;
    return {
        Lines({ids, s.LongName, s.InfPrefix + "bus.inf", s.InfPrefix + "wdm.inf", "tarnvxd.inf",
               QuietWord(s.QuietUninstall), LeaveWord(s.LeaveFiles), key, s.TargetDirectory}),
        Lines({ids, QuietWord(s.QuietSetup), LeaveWord(s.LeaveFiles), key, s.TargetDirectory}),
        Lines({s.ComDeviceName + " Driver Set",
               s.LongName,
               s.TargetDirectory,
               QuietWord(s.QuietUninstall),
               "Copy Files",
               s.InfPrefix + "bus.inf",
               s.InfPrefix + "w2k.inf",
               s.InfPrefix + "wdm.inf",
               "tarnvxd.inf",
               un + ".exe",
               un + "2k.exe",
               un + ".u98",
               un + ".u2k",
               "tarnbus.sys",
               "tarncm95.sys",
               "tarncmnt.sys",
               "tarncr.sys",
               "tarnser.sys",
               "tarnwh95.sys",
               "tarnwhnt.sys",
               "tarncomm.vxd",
               "tarnvcd.vxd",
               "tarnvcr.vxd",
               ""}),
    };
}

InstallerConfigTexts FerrolinkTexts(const WizardSettings& s) {
    const std::string ids = "*VID_" + s.Vid + "&PID_" + s.Pid + "*";
    const std::string key = GetUpperInfStem(s) + "&" + s.Vid + "&" + s.Pid;
    const std::string& un = s.UninstallName;
    return {
        Lines({ids, s.LongName, s.InfName + ".inf", QuietWord(s.QuietUninstall),
               LeaveWord(s.LeaveFiles), key, s.TargetDirectory}),
        Lines({ids, QuietWord(s.QuietSetup), LeaveWord(s.LeaveFiles), key, s.TargetDirectory}),
        Lines({s.UsbDeviceName + " Driver Set", s.LongName, s.TargetDirectory,
               QuietWord(s.QuietUninstall), "Copy Files", s.InfName + ".inf", un + ".exe",
               un + "2k.exe", un + ".u98", un + ".u2k", s.SysName + ".sys", "tnlib.sys", ""}),
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
