#pragma once

#include <string_view>

namespace usbwiz {

inline constexpr std::string_view kUsageText =
    "Usage: usbdrvgen --kind com|ferrolink --out DIR [options]\n"
    "Writes a customised USB driver installation package into DIR (created with any missing\n"
    "parents), byte for byte as the wizard writes it for the same settings.\n"
    "\n"
    "Package:\n"
    "  --kind com|ferrolink     virtual COM port package or Ferrolink package; every field\n"
    "                           starts at that kind's defaults\n"
    "  --out DIR                output directory\n"
    "  --settings FILE          start from a file of 'Field = value' lines (see --dump-settings);\n"
    "                           it may name the kind (PackageKind = 1 or 2) instead of --kind\n"
    "\n"
    "Fields (--opt VALUE, or --opt=VALUE for a value that starts with --):\n"
    "  --uninstall-name, --inf-prefix, --short-name, --long-name, --usb-device-name,\n"
    "  --vid, --pid, --target-dir; --com-device-name (com only); --inf-name, --sys-name\n"
    "  (ferrolink only)\n"
    "\n"
    "Options:\n"
    "  --no-preinstaller        leave out PreInstaller.exe; as in the wizard, the preinstaller's\n"
    "                           window, copy and target options go back to their fixed values\n"
    "  --quiet-setup            the preinstaller runs without a window\n"
    "  --skip-file-copy         the preinstaller does not copy the driver files\n"
    "  --quiet-uninstall        the uninstaller runs without a window\n"
    "  --leave-files            the uninstaller leaves the copied files in place\n"
    "  --certification plan|default|none   catalog files: planned WHQL certification, the\n"
    "                           default catalog files, or none (the default)\n"
    "  --codepage N             the Windows ANSI code page the package is for (1252 unless\n"
    "                           this system's says otherwise); texts are read as UTF-8\n"
    "\n"
    "Instead of generating:\n"
    "  --dump-settings          print the settings in --settings format\n"
    "  --summary                print the summary page\n"
    "  --list                   print the paths that would be written\n"
    "\n"
    "  --require-empty          refuse an output directory that holds anything (otherwise\n"
    "                           entries that are not the package's get a warning; nothing\n"
    "                           is ever deleted)\n"
    "  --quiet                  no success line\n"
    "  --help, --version\n"
    "\n"
    "Exit status: 0 written, 1 generation failed, 2 input refused (nothing written).\n";

}  // namespace usbwiz
