// libFuzzer target: a settings file as bytes, through everything usbdrvgen does with one before
// it writes: parsing, layering over the kind's defaults, the code-page conversion and the checks.
// What is accepted must also be written back as a file that reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cli/CliChecks.h"
#include "cli/EffectiveSettings.h"
#include "cli/SettingsFile.h"
#include "generate/PackageContents.h"
#include "tests/support/RecordingPlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace usbwiz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ParsedSettingsFile parsed = ParseSettingsFile(text, "fuzz");
    if (!parsed.error.empty() || !parsed.file.kind) return 0;

    testing::RecordingPlatform platform;
    CommandLineOptions options;
    options.outDirectory = "/o";
    EffectiveSettings effective =
        BuildEffectiveSettings(options, &parsed.file, "fuzz", platform, '/');
    if (!effective.error.empty() || !EncodeForPackage(effective).empty()) return 0;
    if (FindRefusal(effective, BuildPackageContents(effective.package, EmbeddedPayloads()), '/'))
        return 0;

    const std::string written = FormatSettingsFile(effective.settings, effective.codePage);
    const ParsedSettingsFile again = ParseSettingsFile(written, "again");
    if (!again.error.empty() || !again.file.kind) std::abort();
    // Onto an empty record, so that a field the file leaves out shows as a difference.
    WizardSettings back;
    back.PackageKind = *again.file.kind;
    for (const SettingsFileText& text : again.file.texts) back.*(text.field->member) = text.value;
    for (const SettingsFileFlag& flag : again.file.flags) back.*(flag.field->member) = flag.value;
    back.GenerationDirectory = effective.settings.GenerationDirectory;  // from --out, never a file
    if (back != effective.settings || again.file.codePage != effective.codePage) std::abort();
    return 0;
}
