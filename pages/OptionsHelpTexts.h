#pragma once

#include <string_view>

namespace usbwiz {

// What the "?" buttons of the options page explain, line by line.
inline constexpr std::string_view kPreinstallerHelpText =
    "Generate a Preinstaller program:\n"
    "\n"
    "Select this option to generate a Preinstaller. Use the Preinstaller to install the drivers\n"
    "before the hardware is connected. Once connected, Windows 98SE & 2000 will recognize the\n"
    "device and the \"Add New Hardware Wizard\" should not be needed. When using Windows XP\n"
    "and uncertified driver files, the \"Add New Hardware Wizard\" and warning messages will\n"
    "appear but the path to the driver files will not be requested. Once the driver files have "
    "been\n"
    "certified for Windows XP, the \"Add New Hardware Wizard\" should no longer appear.";

inline constexpr std::string_view kDisplaySetupHelpText =
    "Display GUI window during Setup:\n"
    "\n"
    "Check this option when using the generated Preinstaller as a stand-alone application.\n"
    "The Preinstaller will display several GUI windows during the installation process. Uncheck\n"
    "this option if the Preinstaller will be launched by another application. The Preinstaller\n"
    "will then run in Quiet Mode. When running in Quiet Mode, no GUI will be displayed.";

inline constexpr std::string_view kCopyFilesHelpText =
    "Copy Files to Directory during Setup:\n"
    "\n"
    "Check this option if a copy of the drivers will be needed on the hard drive. This is useful\n"
    "when installing the drivers from a CD. Uncheck this option if copies of the driver files are "
    "not\n"
    "needed on the hard drive. This option is valid only when using Windows 2000/XP.";

inline constexpr std::string_view kTargetDirectoryHelpText =
    "Target Directory:\n"
    "\n"
    "Selects the hard drive location that will contain a copy of the driver files. The default\n"
    "location is C:\\Program Files\\Vexmor\\MCU\\KR550x. If the \"Display GUI window during\n"
    "Setup\" option is selected, this path can be changed during installation by clicking the "
    "Browse button.\n"
    "However, if the \"Display GUI  window during Setup\" option is not selected then the\n"
    "default directory is always used. This option is ignored if the \"Copy Files to Directory\n"
    "during Setup\" option is not selected. This option is valid only when using Windows 2000/XP.\n"
    "\n"
    "Note: The Target Directory must be different for each product released.";

inline constexpr std::string_view kDisplayUninstallHelpText =
    "Display GUI window during Uninstall:\n"
    "\n"
    "Check this option when using the generated Uninstaller as a stand-alone application. The\n"
    "Uninstaller will display several GUI windows during the uninstall process. Uncheck this "
    "option\n"
    "if the Uninstaller will be launched by another application. The Uninstaller will then run in\n"
    "Quiet Mode. When running in Quiet Mode, no GUI will be displayed.";

}  // namespace usbwiz
