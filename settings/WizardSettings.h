#pragma once

#include <cstdint>
#include <string>

namespace usbwiz {

class Platform;

// Everything the user decides in the wizard. Each page owns a copy; a hand-over copies it whole.
struct WizardSettings {
    WizardSettings() = default;
    WizardSettings(const WizardSettings&) = default;
    WizardSettings& operator=(const WizardSettings&) = default;
    virtual ~WizardSettings() = default;

    bool operator==(const WizardSettings&) const = default;

    std::uint8_t PackageKind = 0;  // 0 none yet, 1 virtual COM port, 2 Ferrolink
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
    std::int32_t UsePreinstaller = 0;
    std::int32_t QuietSetup = 0;
    std::int32_t SkipFileCopy = 0;
    std::string TargetDirectory;
    std::int32_t QuietUninstall = 0;
    std::int32_t LeaveFiles = 0;
    std::int32_t CertificationChoice = 0;
    std::int32_t DefaultCatalogFiles = 0;
    std::string GenerationDirectory;
};

inline constexpr std::uint8_t kComPortPackage = 1;
inline constexpr std::uint8_t kFerrolinkPackage = 2;

// The COM port package's default target directory, which is also what switching the
// preinstaller off puts back, whatever the kind.
inline constexpr const char* kComPortTargetDirectory = "C:\\Program Files\\Vexmor\\MCU\\KR550x";

// The drive root ("C:\") of the Windows directory the platform reports; "C:\" when it
// reports nothing usable.
std::string DriveRootOf(const std::string& windowsDirectory);

// Fills the record with the defaults of `kind` (1 or 2) unless it already has that kind, so
// re-choosing the shown kind keeps what was typed. Other kinds change nothing.
void ApplyPackageDefaults(WizardSettings& settings, std::uint8_t kind, Platform& platform);

// What clearing "Generate a Preinstaller program" does: no preinstaller, and the preinstaller's
// hidden options back to a window shown, files copied and the fixed target directory.
void SwitchOffPreinstaller(WizardSettings& settings);

}  // namespace usbwiz
