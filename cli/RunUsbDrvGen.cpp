#include "cli/RunUsbDrvGen.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/CliChecks.h"
#include "cli/CommandLine.h"
#include "cli/ConsolePlatform.h"
#include "cli/CreateOutputDirectory.h"
#include "cli/EffectiveSettings.h"
#include "cli/NativePath.h"
#include "cli/SettingsFile.h"
#include "cli/SummaryColumns.h"
#include "cli/UsageText.h"
#include "generate/GeneratePackage.h"
#include "generate/GenerationPlan.h"
#include "pages/SummaryText.h"
#include "platform/TextEncoding.h"

namespace usbwiz {

namespace {

constexpr std::string_view kProgram = "usbdrvgen: ";
constexpr std::string_view kCreateDirectoryFailedMessage = "Error: Could Not Create Directory.";

// The summary page's part in generation, on a console: the outcome as a line.
class ConsoleGenerationPage : public GenerationPage {
  public:
    ConsoleGenerationPage(std::ostream& out, std::ostream& errors, bool quiet)
        : out_(out), errors_(errors), quiet_(quiet) {}

    void ShowPageMessage(std::string_view text, MessageIcon icon) override {
        if (icon == MessageIcon::Error)
            errors_ << text << '\n';
        else if (!quiet_)
            out_ << text << '\n';
    }
    void EndPage() override {}

  private:
    std::ostream& out_;
    std::ostream& errors_;
    bool quiet_;
};

struct FileText {
    std::string text;
    std::string error;
};

// Through C stdio: it reports a read error (such as a directory given as the file), which a
// stream would take for an empty file.
FileText ReadWholeFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return {{}, std::strerror(errno)};
    FileText result;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) result.text.append(buffer, n);
    if (std::ferror(file) != 0) result = {{}, std::strerror(errno)};
    std::fclose(file);
    return result;
}

int Refuse(std::ostream& errors, std::string_view why) {
    errors << kProgram << why << '\n';
    return kExitRefused;
}

void ReportFailedPath(std::ostream& errors, const ConsolePlatform& console) {
    if (const std::optional<FailedPath>& failed = console.LastFailure())
        errors << kProgram << failed->path << ": " << failed->reason << '\n';
}

int Generate(WizardSettings& settings, ConsolePlatform& console, const PayloadStore& payloads,
             bool quiet, std::ostream& out, std::ostream& errors) {
    if (!CreateOutputDirectory(console, settings.GenerationDirectory, kNativeSeparator)) {
        errors << kCreateDirectoryFailedMessage << '\n';
        ReportFailedPath(errors, console);
        return kExitGenerationFailed;
    }
    ConsoleGenerationPage page(out, errors, quiet);
    if (GeneratePackage(settings, console, payloads, page)) return kExitWritten;
    ReportFailedPath(errors, console);
    return kExitGenerationFailed;
}

int Run(const CommandLineOptions& options, ConsolePlatform& console, const PayloadStore& payloads,
        std::ostream& out, std::ostream& errors) {
    switch (options.action) {
        case CliAction::Help:
            out << kUsageText;
            return kExitWritten;
        case CliAction::Version:
            out << "usbdrvgen " << USBWIZ_VERSION << '\n';
            return kExitWritten;
        default:
            break;
    }

    ParsedSettingsFile file;
    if (options.settingsFile) {
        const FileText read = ReadWholeFile(
            NativePathFromUtf8(*options.settingsFile).value_or(*options.settingsFile));
        if (!read.error.empty())
            return Refuse(errors,
                          "cannot read settings file " + *options.settingsFile + ": " + read.error);
        file = ParseSettingsFile(read.text, *options.settingsFile);
        if (!file.error.empty()) return Refuse(errors, file.error);
    }

    EffectiveSettings effective =
        BuildEffectiveSettings(options, options.settingsFile ? &file.file : nullptr,
                               options.settingsFile.value_or(""), console, kNativeSeparator);
    if (!effective.error.empty()) return Refuse(errors, effective.error);
    if (!effective.outputDirectory && options.action != CliAction::DumpSettings)
        return Refuse(errors, "--out DIR is required");
    if (const std::string error = EncodeForPackage(effective); !error.empty())
        return Refuse(errors, error);
    if (const std::optional<std::string> refusal = FindRefusal(effective, kNativeSeparator))
        return Refuse(errors, *refusal);

    // What people read is the text as typed; the files get the package's code page.
    const WizardSettings& typed = effective.settings;
    WizardSettings& package = effective.package;
    std::vector<std::string> paths;
    for (const std::string& path : PlannedOutputPaths(package)) {
        const std::optional<std::string> native =
            NativeOutputPath(path, package.GenerationDirectory, effective.codePage);
        if (!native)
            return Refuse(errors, "this system cannot name the file '" + path + "' of code page " +
                                      std::to_string(effective.codePage));
        paths.push_back(*native);
    }

    switch (options.action) {
        case CliAction::DumpSettings:
            out << FormatSettingsFile(typed, effective.codePage);
            if (effective.outputDirectory) out << "# --out " << *effective.outputDirectory << '\n';
            return kExitWritten;
        case CliAction::Summary:
            out << SummaryColumns(SummaryLabelText(typed.PackageKind), BuildSummaryText(typed));
            return kExitWritten;
        case CliAction::List:
            for (const std::string& path : paths) out << path << '\n';
            return kExitWritten;
        default:
            console.NameFilesIn(package.GenerationDirectory, effective.codePage);
            return Generate(package, console, payloads, options.quiet, out, errors);
    }
}

}  // namespace

int RunUsbDrvGen(std::span<const std::string> args, Platform& platform,
                 const PayloadStore& payloads, std::ostream& out, std::ostream& errors) {
    const ParsedCommandLine parsed = ParseCommandLine(args);
    if (!parsed.error.empty()) return Refuse(errors, parsed.error);

    ConsolePlatform console(platform, errors);
    int status = Run(parsed.options, console, payloads, out, errors);
    // A listing cut short must not pass for a complete one.
    if (!out.flush() && status == kExitWritten) {
        errors << kProgram << "cannot write to standard output\n";
        status = kExitGenerationFailed;
    }
    return status;
}

}  // namespace usbwiz
