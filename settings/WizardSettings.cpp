#include "settings/WizardSettings.h"

#include "platform/Platform.h"

namespace usbwiz {

std::string DriveRootOf(const std::string& windowsDirectory) {
    if (windowsDirectory.size() < 3) return "C:\\";
    return windowsDirectory.substr(0, 3);
}

void ApplyPackageDefaults(WizardSettings& s, std::uint8_t kind, Platform& platform) {
    if (kind != kComPortPackage && kind != kFerrolinkPackage) return;
    if (s.PackageKind == kind) return;

    const bool com = kind == kComPortPackage;
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
    s.UsePreinstaller = 1;
    s.QuietSetup = 0;
    s.SkipFileCopy = 0;
    s.TargetDirectory = com ? kComPortTargetDirectory : "C:\\Program Files\\Vexmor\\MCU\\Ferrolink";
    s.QuietUninstall = 0;
    s.LeaveFiles = 0;
    s.CertificationChoice = 0;
    s.DefaultCatalogFiles = 0;
    s.GenerationDirectory = DriveRootOf(platform.WindowsDirectory().value_or("")) +
                            (com ? "Vexmor\\MCU\\CustomKR550xDriverInstall"
                                 : "Vexmor\\MCU\\CustomFerrolinkDriverInstall");
}

void SwitchOffPreinstaller(WizardSettings& s) {
    s.UsePreinstaller = 0;
    s.QuietSetup = 0;
    s.SkipFileCopy = 0;
    s.TargetDirectory = kComPortTargetDirectory;
}

}  // namespace usbwiz
