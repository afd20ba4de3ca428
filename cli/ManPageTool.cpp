// Run while usbdrvgen is built: writes its manual page from the rows --help is made of, then
// the sections made from the settings and the generation plan.
// Usage: usbdrvgen-manpage OUTPUT VERSION DATE
#include <fstream>
#include <iostream>

#include "cli/ManualSections.h"
#include "cli/UsageText.h"
#include "platform/PosixPlatform.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: usbdrvgen-manpage OUTPUT VERSION DATE\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    usbwiz::PosixPlatform platform;
    out << usbwiz::ManPage(argv[2], argv[3]) << usbwiz::ManualSections(platform);
    out.close();
    if (!out) {
        std::cerr << "usbdrvgen-manpage: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
