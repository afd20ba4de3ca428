#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace usbwiz {

// The two packages the wizard makes. The numbers are what settings files and the welcome page's
// radio buttons stand for; no other value ever produces output.
enum class Package : std::uint8_t { None = 0, ComPort = 1, Ferrolink = 2 };

// Everything the user decides in the wizard. Each page owns a copy; a hand-over copies it whole.
struct WizardSettings {
    bool operator==(const WizardSettings&) const = default;

    Package PackageKind = Package::None;
    std::string UninstallName;
    std::string InfPrefix;
    std::string InfName;
    std::string SysName;
    std::string ShortName;
    std::string LongName;
    std::string ComDeviceName;
    std::string UsbDeviceName;
    std::string Vid;
    std::string Pid;
    bool UsePreinstaller = false;
    bool QuietSetup = false;
    bool SkipFileCopy = false;
    std::string TargetDirectory;
    bool QuietUninstall = false;
    bool LeaveFiles = false;
    bool CertificationChoice = false;
    bool DefaultCatalogFiles = false;
    std::string GenerationDirectory;
};

// The COM port package's default target directory, which is also what switching the
// preinstaller off puts back, whatever the kind.
inline constexpr const char* kComPortTargetDirectory = "C:\\Program Files\\Vexmor\\MCU\\KR550x";

// The drive root ("C:\") of the Windows directory the platform reports; "C:\" when it
// reports nothing usable.
std::string DriveRootOf(const std::string& windowsDirectory);

// Fills the record with the defaults of `kind` unless it already has that kind, so re-choosing
// the shown kind keeps what was typed. Package::None changes nothing. The default generation
// directory lies on the drive of `windowsDirectory` (the platform's; nullopt when unknown).
void ApplyPackageDefaults(WizardSettings& settings, Package kind,
                          const std::optional<std::string>& windowsDirectory);

// What clearing "Generate a Preinstaller program" does: no preinstaller, and the preinstaller's
// hidden options back to a window shown, files copied and the fixed target directory.
void SwitchOffPreinstaller(WizardSettings& settings);

}  // namespace usbwiz
