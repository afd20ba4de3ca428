#include "settings/WizardSettings.h"

namespace usbwiz {

std::string DriveRootOf(const std::string& windowsDirectory) {
    if (windowsDirectory.size() < 3) return "C:\\";
    return windowsDirectory.substr(0, 3);
}

void ApplyPackageDefaults(WizardSettings& s, Package kind,
                          const std::optional<std::string>& windowsDirectory) {
    if (kind != Package::ComPort && kind != Package::Ferrolink) return;
    if (s.PackageKind == kind) return;

    const bool com = kind == Package::ComPort;
    s.PackageKind = kind;
    s.UninstallName = com ? "tarnunin" : "tnflunin";
    s.InfPrefix = com ? "tarn" : "";
    s.InfName = com ? "" : "tnfrlnk";
    s.SysName = com ? "" : "tnfrlnk";
    s.ShortName = "tarn";
    s.LongName = "Tarnwell";
    s.ComDeviceName = com ? "KR550x USB to UART Bridge Controller" : "";
    s.UsbDeviceName = com ? "KR550x USB Composite Device" : "Ferrolink Device";
    s.Vid = "4E2B";
    s.Pid = com ? "C730" : "C731";
    s.UsePreinstaller = true;
    s.QuietSetup = false;
    s.SkipFileCopy = false;
    s.TargetDirectory = com ? kComPortTargetDirectory : "C:\\Program Files\\Vexmor\\MCU\\Ferrolink";
    s.QuietUninstall = false;
    s.LeaveFiles = false;
    s.CertificationChoice = false;
    s.DefaultCatalogFiles = false;
    s.GenerationDirectory = DriveRootOf(windowsDirectory.value_or("")) +
                            (com ? "Vexmor\\MCU\\CustomKR550xDriverInstall"
                                 : "Vexmor\\MCU\\CustomFerrolinkDriverInstall");
}

void SwitchOffPreinstaller(WizardSettings& s) {
    s.UsePreinstaller = false;
    s.QuietSetup = false;
    s.SkipFileCopy = false;
    s.TargetDirectory = kComPortTargetDirectory;
}

}  // namespace usbwiz
