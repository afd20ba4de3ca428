// libFuzzer target: a whole usbdrvgen run against an in-memory platform (nothing touches the
// disk). The input is the arguments, split at NUL bytes, then any number of files, each after a
// line "\n--8<-- PATH\n" (so that `verify` has a package to read: INF files, catalogs, roots).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/RunUsbDrvGen.h"
#include "tests/support/RecordingPlatform.h"
#include "tests/support/TestRunContext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace usbwiz;
    constexpr std::string_view kFileMark = "\n--8<-- ";
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view arguments = input.substr(0, input.find(kFileMark));

    std::vector<std::string> args(1);
    for (const char c : arguments) {
        if (c == '\0')
            args.emplace_back();
        else
            args.back() += c;
    }
    // A settings file is read from the machine's own disk (a device such as /dev/stdin would
    // wait for ever); its parser has a target of its own.
    for (const std::string& arg : args)
        if (arg.starts_with("--settings")) return 0;

    testing::RecordingPlatform platform;
    for (std::size_t at = arguments.size(); at < input.size();) {
        const std::size_t nameStart = at + kFileMark.size();
        const std::size_t nameEnd = std::min(input.find('\n', nameStart), input.size());
        const std::size_t next = std::min(input.find(kFileMark, nameEnd), input.size());
        const std::string path(input.substr(nameStart, nameEnd - nameStart));
        platform.files[path] = std::string(
            input.substr(std::min(nameEnd + 1, next), next - std::min(nameEnd + 1, next)));
        for (std::size_t cut = path.find('/'); cut != std::string::npos;
             cut = path.find('/', cut + 1))
            platform.directories.insert(path.substr(0, cut));
        at = next;
    }
    testing::TestRunContext run;
    RunUsbDrvGen(args, platform, EmbeddedPayloads(), run.Context());
    return 0;
}
