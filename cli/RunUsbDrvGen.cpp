#include "cli/RunUsbDrvGen.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <map>
#include <set>
#include <stdexcept>

#include "catalog/PackageCatalogs.h"
#include "cli/CatalogSigning.h"
#include "cli/CliChecks.h"
#include "cli/CommandLine.h"
#include "cli/CreateOutputDirectory.h"
#include "cli/EffectiveSettings.h"
#include "cli/NativeNamesPlatform.h"
#include "cli/NativePath.h"
#include "cli/ReadSmallFile.h"
#include "cli/SettingsFile.h"
#include "cli/SummaryColumns.h"
#include "cli/UsageText.h"
#include "cli/VerifyCommand.h"
#include "generate/GeneratePackage.h"
#include "generate/GenerationPlan.h"
#include "pages/OutputDirectoryPage.h"
#include "pages/SummaryText.h"
#include "payload/PayloadDigests.h"
#include "payload/PayloadManifest.h"
#include "platform/TextEncoding.h"
#include "settings/Utf8.h"
#include "verify/WindowsNameCase.h"

namespace usbwiz {

namespace {

constexpr std::string_view kProgram = "usbdrvgen: ";

int Refuse(std::ostream& errors, std::string_view why) {
    errors << kProgram << why << '\n';
    return kExitRefused;
}

// The first few of `names`, for a line.
std::string FirstFew(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    std::string named;
    for (std::size_t i = 0; i < names.size() && i < 3; ++i)
        named += (i == 0 ? "" : ", ") + Printable(names[i]);
    if (names.size() > 3) named += ", ...";
    return named;
}

std::string Entries(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " entry" : " entries");
}

// Generation replaces the package's own files and leaves everything else in the folder as it
// is; what else is there gets a word, or refuses the run with --require-empty. Names are
// compared as Windows compares them: where the system tells letter case apart, an entry that
// differs from a package file only in case is a second file here, which would meet the
// package's once both are copied to Windows.
std::optional<int> CheckFolderContents(const WizardSettings& settings, Platform& platform,
                                       const std::vector<std::string>& packagePaths,
                                       bool requireEmpty, std::ostream& errors) {
    const std::string& folder = settings.GenerationDirectory;
    const auto windowsName = [](const std::string& native) {
        return UpperCaseName(Utf8FromNativePath(native).value_or(native));
    };
    std::set<std::string> packageNames;
    for (const std::string& path : packagePaths) packageNames.insert(windowsName(path));
    std::vector<std::string> others, clashing;
    for (const std::string& name : platform.FolderEntries(folder)) {
        const std::string path = folder + name;
        if (requireEmpty || packageNames.count(windowsName(path)) == 0)
            others.push_back(name);
        else if (kNamesHaveCase &&
                 std::find(packagePaths.begin(), packagePaths.end(), path) == packagePaths.end())
            clashing.push_back(name);
    }
    if (requireEmpty && !others.empty())
        return Refuse(errors, "--out: " + folder + " is not empty (" + FirstFew(others) + ")");
    // Each warning one piece, so that the line of a run beside it cannot cut into it.
    if (!others.empty())
        errors << std::string(kProgram) + "warning: " + Entries(others.size()) + " in " + folder +
                      " not part of this package, left as they are: " + FirstFew(others) + "\n";
    if (!clashing.empty())
        errors << std::string(kProgram) + "warning: " + Entries(clashing.size()) + " in " + folder +
                      " differ from files of this package only in letter case, and would be "
                      "the same files once copied to Windows: " +
                      FirstFew(clashing) + "\n";
    return std::nullopt;
}

// The wizard's messages as lines (the verdict and what went wrong on the error stream), then the
// path and the system's reason, which the wizard never shows.
// Catalogs are written after the package and fail like any of its files.
int Generate(const WizardSettings& settings, Platform& system, const CatalogOptions& catalog,
             bool withCatalogs, const PayloadStore& payloads, bool quiet, std::ostream& out,
             std::ostream& errors) {
    if (const std::optional<DirectoryFailure> failed =
            CreateOutputDirectory(system, settings.GenerationDirectory, kNativeSeparator)) {
        errors << kCreateDirectoryFailedMessage << '\n'
               << kProgram << failed->path << ": " << failed->reason << '\n';
        return kExitGenerationFailed;
    }
    NativeNamesPlatform named(system, settings.GenerationDirectory, catalog.codePage);
    const std::optional<WriteFailure> failure =
        withCatalogs ? GeneratePackageWithCatalogs(settings, named, payloads, catalog)
                     : GeneratePackage(settings, named, payloads).failure;
    if (failure) {
        const std::string& path = failure->path;
        errors
            << kOpenFailedMessage << '\n'
            << kGenerationFailedMessage << '\n'
            << kProgram
            << NativeOutputPath(path, settings.GenerationDirectory, catalog.codePage).value_or(path)
            << ": " << failure->reason << '\n';
        return kExitGenerationFailed;
    }
    if (!quiet) out << kGenerationSucceededMessage << '\n';
    return kExitWritten;
}

// SOURCE_DATE_EPOCH when it is set, so that two runs give the same catalogs; else now.
std::optional<std::int64_t> CatalogTime(std::string& error) {
    const char* fixed = std::getenv("SOURCE_DATE_EPOCH");
    if (fixed == nullptr) return static_cast<std::int64_t>(std::time(nullptr));
    std::int64_t seconds = 0;
    const std::string_view text(fixed);
    const auto [end, failed] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    // A catalog's time is a UTCTime: 1950 to 2049.
    if (failed != std::errc() || end != text.data() + text.size() || seconds < 0 ||
        seconds >= 2524608000) {
        error =
            "SOURCE_DATE_EPOCH: expected seconds from 1970 to 2049, not '" + Printable(text) + "'";
        return std::nullopt;
    }
    return seconds;
}

// The test certificate goes into its own folder, never the package's; its key is not kept.
int WriteTestCertificate(Platform& platform, const std::string& folder, const std::string& name,
                         const std::string& certificate, bool quiet, std::ostream& out,
                         std::ostream& errors) {
    const std::string directory = WorkingDirectory(NativeDirectoryText(folder, kNativeSeparator));
    const std::string path = WithTrailingSeparator(directory, kNativeSeparator) +
                             NativePathFromUtf8(name).value_or(name);
    if (const std::optional<DirectoryFailure> failed =
            CreateOutputDirectory(platform, directory, kNativeSeparator)) {
        errors << kProgram << failed->path << ": " << failed->reason << '\n';
        return kExitGenerationFailed;
    }
    if (const FileResult written = platform.WriteWholeFile(path, certificate); !written) {
        errors << kProgram << path << ": " << written.failure << '\n';
        return kExitGenerationFailed;
    }
    if (!quiet) out << "Test certificate: " << path << '\n';
    return kExitWritten;
}

// The carried files as the build hashed them, from the table the catalogs list them by: SHA-256,
// size and name in the payload folder, by name; ids that carry one file show it once.
std::string PayloadListing() {
    std::map<std::string_view, const PayloadDigests*> files;
    for (const PayloadEntry& entry : kPayloadManifest) {
        const PayloadDigests* digests = FindPayloadDigests(entry.id);
        if (digests == nullptr)
            throw std::logic_error("no digests for payload " + std::to_string(entry.id));
        files.emplace(entry.sourceName, digests);
    }
    std::string listing;
    for (const auto& [name, digests] : files) {
        for (const unsigned char byte : digests->fileSha256) {
            listing += "0123456789abcdef"[byte >> 4];
            listing += "0123456789abcdef"[byte & 15];
        }
        listing += "  " + std::to_string(digests->size) + "  " + std::string(name) + "\n";
    }
    return listing;
}

int Run(const CommandLineOptions& options, Platform& platform, const PayloadStore& payloads,
        std::ostream& out, std::ostream& errors) {
    switch (options.action) {
        case CliAction::Help:
            out << UsageText();
            return kExitWritten;
        case CliAction::Version:
            out << VersionLine("usbdrvgen " USBWIZ_VERSION) << '\n';
            return kExitWritten;
        case CliAction::Payloads:
            // A comment line, which `sha256sum -c` passes over.
            if (!kStandInMark.empty()) out << "# " << kStandInMark << '\n';
            out << PayloadListing();
            return kExitWritten;
        default:
            break;
    }

    ParsedSettingsFile file;
    if (options.settingsFile) {
        const FileText read = ReadSmallFile(*options.settingsFile);
        if (!read.error.empty())
            return Refuse(errors,
                          "cannot read settings file " + *options.settingsFile + ": " + read.error);
        file = ParseSettingsFile(read.text, *options.settingsFile);
        if (!file.error.empty()) return Refuse(errors, file.error);
    }

    EffectiveSettings effective =
        BuildEffectiveSettings(options, options.settingsFile ? &file.file : nullptr,
                               options.settingsFile.value_or(""), platform, kNativeSeparator);
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
    if (effective.outputDirectory)
        package.GenerationDirectory =
            WithTrailingSeparator(WorkingDirectory(package.GenerationDirectory), kNativeSeparator);
    std::vector<std::string> planned = PlannedOutputPaths(package);
    PreparedSigner signing;
    CatalogOptions catalog{options.catalogHash.value_or(HashAlgorithm::Sha1), 0,
                           effective.codePage};
    if (options.catalog) {
        const std::vector<PlannedCatalog> catalogs = PlanCatalogs(package);
        if (catalogs.empty())
            return Refuse(errors,
                          "--catalog: no INF file of this package names a catalog file (the "
                          "Ferrolink INF has none)");
        for (const PlannedCatalog& c : catalogs)
            planned.push_back(package.GenerationDirectory + c.name);
        std::string error;
        const std::optional<std::int64_t> time = CatalogTime(error);
        if (!time) return Refuse(errors, error);
        catalog.creationTime = *time;
        signing = PrepareSigner(options, typed.LongName, catalog.algorithm,
                                static_cast<std::int64_t>(std::time(nullptr)), std::cin);
        if (!signing.error.empty()) return Refuse(errors, signing.error);
        if (signing.signer.key != nullptr) catalog.signer = &signing.signer;
    }
    std::vector<std::string> paths;
    for (const std::string& path : planned) {
        const std::optional<std::string> native =
            NativeOutputPath(path, package.GenerationDirectory, effective.codePage);
        if (!native)
            return Refuse(errors, "a file name holds a character of code page " +
                                      std::to_string(effective.codePage) +
                                      " that this system's file names cannot hold");
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
            if (const auto refused =
                    CheckFolderContents(package, platform, paths, options.requireEmpty, errors))
                return *refused;
            if (const int status = Generate(package, platform, catalog, options.catalog, payloads,
                                            options.quiet, out, errors);
                status != kExitWritten || signing.testCertificate.empty())
                return status;
            return WriteTestCertificate(platform, *options.testCertificateDir,
                                        typed.InfPrefix + "-driver-test.cer",
                                        signing.testCertificate, options.quiet, out, errors);
    }
}

}  // namespace

int RunUsbDrvGen(std::span<const std::string> args, Platform& platform,
                 const PayloadStore& payloads, std::ostream& out, std::ostream& errors) {
    if (!args.empty() && args.front() == kVerifyCommand)
        return RunVerifyCommand(args.subspan(1), platform,
                                static_cast<std::int64_t>(std::time(nullptr)), out, errors);
    const ParsedCommandLine parsed = ParseCommandLine(args);
    if (!parsed.error.empty()) return Refuse(errors, parsed.error);

    int status = Run(parsed.options, platform, payloads, out, errors);
    // A listing cut short must not pass for a complete one; after generation the package is
    // there, but whoever reads the output did not get its word.
    if (!out.flush() && status == kExitWritten) {
        errors << kProgram
               << (parsed.options.action == CliAction::Generate
                       ? "the package is written, but standard output could not be written\n"
                       : "cannot write to standard output\n");
        status = kExitGenerationFailed;
    }
    return status;
}

}  // namespace usbwiz
