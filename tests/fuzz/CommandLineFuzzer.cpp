// libFuzzer target: a whole usbdrvgen run, the arguments being the input split at NUL bytes,
// against an in-memory platform (nothing touches the disk).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/RunUsbDrvGen.h"
#include "tests/support/RecordingPlatform.h"
#include "tests/support/TestRunContext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace usbwiz;
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back() += static_cast<char>(data[i]);
    }
    // A settings file is read from the machine's own disk (a device such as /dev/stdin would
    // wait for ever); its parser has a target of its own.
    for (const std::string& arg : args)
        if (arg.starts_with("--settings")) return 0;

    testing::RecordingPlatform platform;
    testing::TestRunContext run;
    RunUsbDrvGen(args, platform, EmbeddedPayloads(), run.Context());
    return 0;
}
