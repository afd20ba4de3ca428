// usbdrvgen: the wizard's package generation for build pipelines.
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include "cli/RunUsbDrvGen.h"
#include "payload/PayloadStore.h"
#include "platform/TextEncoding.h"

#ifdef _WIN32
#include "platform/Win32Platform.h"
using SystemPlatform = usbwiz::Win32Platform;
#else
#include "platform/PosixPlatform.h"
using SystemPlatform = usbwiz::PosixPlatform;
#endif

int main(int argc, char** argv) {
#ifndef _WIN32
    // A file larger than the shell's file-size limit then fails like a full disk (a message and
    // exit status 1) instead of killing the program part way.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    const std::vector<std::string> args = usbwiz::ProgramArguments(argc, argv);
    SystemPlatform platform;
    const usbwiz::RunContext context{
        std::cin,
        std::cout,
        std::cerr,
        [](const std::string& name) -> std::optional<std::string> {
            const char* value = std::getenv(name.c_str());
            if (value == nullptr) return std::nullopt;
            return std::string(value);
        },
        [] { return static_cast<std::int64_t>(std::time(nullptr)); },
    };
    return usbwiz::RunUsbDrvGen(args, platform, usbwiz::EmbeddedPayloads(), context);
}
