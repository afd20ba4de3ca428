#include "generate/SummaryText.h"

#include <array>

namespace usbwiz {
namespace {

std::string_view YesNo(bool yes) {
    return yes ? "Yes" : "No";
}

// Lines 13 to 18, the same for both kinds. Without a preinstaller every line after the first
// shows "-", the uninstaller lines included.
std::array<std::string, 6> OptionLines(const WizardSettings& s) {
    if (!s.UsePreinstaller) return {"No", "-", "-", "-", "-", "-"};
    return {"Yes",
            std::string(YesNo(!s.QuietSetup)),
            std::string(YesNo(!s.SkipFileCopy)),
            s.TargetDirectory,
            std::string(YesNo(!s.QuietUninstall)),
            std::string(YesNo(s.LeaveFiles))};
}

}  // namespace

std::string BuildSummaryText(const WizardSettings& s) {
    if (s.PackageKind != Package::ComPort && s.PackageKind != Package::Ferrolink) return {};

    std::array<std::string, 20> lines;
    lines[0] = s.UninstallName + ".u98, " + s.UninstallName + ".u2k";
    if (s.PackageKind == Package::ComPort) {
        lines[1] = s.InfPrefix + "xxxx.inf";
        lines[3] = s.ShortName;
        lines[4] = s.LongName;
        lines[6] = s.ComDeviceName;
        lines[7] = s.UsbDeviceName;
    } else {
        lines[1] = s.InfName + ".inf";
        lines[2] = s.SysName + ".sys";
        lines[4] = s.ShortName;
        lines[5] = s.LongName;
        lines[7] = s.UsbDeviceName;
    }
    lines[9] = s.Vid;
    lines[10] = s.Pid;
    const std::array<std::string, 6> options = OptionLines(s);
    for (std::size_t i = 0; i < options.size(); ++i) lines[12 + i] = options[i];
    lines[19] = s.GenerationDirectory;

    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i != 0) text += "\r\n";
        text += lines[i];
    }
    return text;
}

std::string_view SummaryLabelText(Package kind) {
    return kind == Package::Ferrolink ? kFerrolinkSummaryLabels : kComPortSummaryLabels;
}

}  // namespace usbwiz
