// Run while usbdrvgen is built: writes its manual page from the rows --help is made of.
// Usage: usbdrvgen-manpage OUTPUT VERSION DATE
#include <fstream>
#include <iostream>

#include "cli/UsageText.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: usbdrvgen-manpage OUTPUT VERSION DATE\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << usbwiz::ManPage(argv[2], argv[3]);
    out.close();
    if (!out) {
        std::cerr << "usbdrvgen-manpage: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
