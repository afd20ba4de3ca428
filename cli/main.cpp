// usbdrvgen: the wizard's package generation for build pipelines.
#include <iostream>
#include <string>
#include <vector>

#include "cli/RunUsbDrvGen.h"
#include "generate/PayloadStore.h"
#include "platform/TextEncoding.h"

#ifdef _WIN32
#include "platform/Win32Platform.h"
using SystemPlatform = usbwiz::Win32Platform;
#else
#include "platform/PosixPlatform.h"
using SystemPlatform = usbwiz::PosixPlatform;
#endif

int main(int argc, char** argv) {
    const std::vector<std::string> args = usbwiz::ProgramArguments(argc, argv);
    SystemPlatform platform;
    return usbwiz::RunUsbDrvGen(args, platform, usbwiz::EmbeddedPayloads(), std::cout, std::cerr);
}
