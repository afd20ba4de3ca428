#include "cli/RunUsbDrvGen.h"

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <variant>

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
#include "generate/CatalogTime.h"
#include "generate/GeneratePackage.h"
#include "generate/PackageCatalogs.h"
#include "generate/PackageContents.h"
#include "generate/StagedPathLength.h"
#include "generate/StagedRun.h"
#include "generate/SummaryText.h"
#include "pages/OutputDirectoryPage.h"
#include "payload/PayloadDigests.h"
#include "payload/PayloadManifest.h"
#include "platform/TextEncoding.h"
#include "settings/FolderRules.h"
#include "settings/Utf8.h"
#include "signing/TestCertificateName.h"
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
// is; what else is there gets a word (answered, to be said once the run is not refused), or
// refuses the run with --require-empty. Names are compared as Windows compares them: where the
// system tells letter case apart, an entry that differs from a package file only in case is a
// second file here, which would meet the package's once both are copied to Windows.
struct FolderCheck {
    std::optional<int> refused;
    std::string warning;
};

FolderCheck CheckFolderContents(const std::string& folder, Platform& platform,
                                const std::vector<std::string>& packagePaths, bool requireEmpty,
                                std::ostream& errors) {
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
        return {Refuse(errors, "--out: " + folder + " is not empty (" + FirstFew(others) + ")"),
                {}};
    std::string warning;
    if (!others.empty())
        warning += std::string(kProgram) + "warning: " + Entries(others.size()) + " in " + folder +
                   " not part of this package, left as they are: " + FirstFew(others) + "\n";
    if (!clashing.empty())
        warning += std::string(kProgram) + "warning: " + Entries(clashing.size()) + " in " +
                   folder +
                   " differ from files of this package only in letter case, and would be the "
                   "same files once copied to Windows: " +
                   FirstFew(clashing) + "\n";
    return {std::nullopt, warning};
}

// Where --test-certificate puts the certificate: the folder as this system's file calls take it
// (on Windows its full path, as for --out) and the file's name.
struct CertificatePlace {
    std::string folder;
    std::string name;
};

CertificatePlace TestCertificatePlace(const CommandLineOptions& options,
                                      const WizardSettings& typed) {
    const std::string folder = NativeDirectoryText(*options.testCertificateDir, kNativeSeparator);
    const std::string name = TestCertificateFileName(typed.InfPrefix);
    return {WorkingDirectory(NativePathFromUtf8(folder).value_or(folder)),
            NativePathFromUtf8(name).value_or(name)};
}

// Why the folder `folder` (this system's, in full) cannot take the files `names` there, staged
// each beside its final name: a path Windows could not open.
std::optional<std::string> FindTooLongPath(Platform& platform, const std::string& folder,
                                           std::vector<std::string> names) {
    return FindTooLongStagedPath(platform.FullPath(folder).value_or(folder), std::move(names),
                                 kNativeSeparator, FileNameCodePage());
}

// The certificate's folder as the package's: levels Windows can make, a path it can open.
std::optional<std::string> FindCertificateFolderFault(const CommandLineOptions& options,
                                                      const WizardSettings& typed,
                                                      Platform& platform) {
    const std::string& given = *options.testCertificateDir;
    if (given.empty()) return std::nullopt;  // the signer's preparation says so
    std::optional<std::string> fault = FindFolderRefusal(
        NativeDirectoryText(given, kNativeSeparator), kNativeSeparator, kUtf8CodePage);
    if (!fault) {
        const CertificatePlace place = TestCertificatePlace(options, typed);
        fault = FindTooLongPath(platform, place.folder, {place.name});
    }
    if (!fault) return std::nullopt;
    return "--test-certificate: " + Printable(given) + ": " + *fault;
}

// What a generating run works with, past every check.
struct Generation {
    const CommandLineOptions& options;
    const EffectiveSettings& effective;
    const PackageContents& package;
    const CatalogOptions& catalog;
    std::string warning;  // about the folder's other entries
};

// The test certificate goes into its own folder, never the package's (its key is not kept),
// and is committed before the catalogs it signed: a run stopped between the moves never leaves
// catalogs whose certificate was not saved. Answers its path, or the exit status.
std::variant<std::string, int> StageTestCertificate(const Generation& g, Platform& platform,
                                                    StagedRun& run, const std::string& certificate,
                                                    std::ostream& errors) {
    const auto [directory, name] = TestCertificatePlace(g.options, g.effective.settings);
    const std::string path = WithTrailingSeparator(directory, kNativeSeparator) + name;
    if (const std::optional<DirectoryFailure> failed =
            CreateOutputDirectory(platform, run, directory, kNativeSeparator)) {
        errors << kProgram << failed->path << ": " << failed->reason << '\n';
        return kExitGenerationFailed;
    }
    if (const std::optional<WriteFailure> failed =
            run.Stage(path, certificate, MessageIcon::Error, CommitTurn::First)) {
        errors << kProgram << path << ": " << failed->reason << '\n';
        return kExitGenerationFailed;
    }
    return path;
}

// Every file of the run is staged first and committed together: a refused key, a failure or an
// exception before the commit leaves the folders as they were. The wizard's messages as lines
// (the verdict and what went wrong on the error stream), then the path and the system's reason,
// which the wizard never shows.
int Generate(const Generation& g, Platform& system, const RunContext& context) {
    const WizardSettings& settings = g.effective.package;
    NativeNamesPlatform named(system, settings.GenerationDirectory, g.catalog.codePage);
    StagedRun run(named);
    if (const std::optional<DirectoryFailure> failed =
            CreateOutputDirectory(named, run, settings.GenerationDirectory, kNativeSeparator)) {
        context.errors << kCreateDirectoryFailedMessage << '\n'
                       << kProgram << failed->path << ": " << failed->reason << '\n';
        return kExitGenerationFailed;
    }

    // The key is loaded and checked on a thread of its own while the files are staged.
    PreparedSigner signing;
    const CatalogSignerLoader loadSigner = [&] {
        signing = PrepareSigner(g.options, g.effective.settings.LongName, g.catalog.algorithm,
                                context.now(), context.in, context.environment);
        return CatalogSignerOutcome{
            signing.key ? &signing.signer : nullptr, signing.error,
            [&](const std::exception& failed) { return SignatureRefusal(failed, g.options); }};
    };
    CatalogStaging staged;
    if (g.options.catalog)
        staged = StagePackageWithCatalogs(g.package, g.catalog, loadSigner, run);
    else
        staged.failure = StagePackage(g.package, run);
    if (!staged.refusal.empty()) return Refuse(context.errors, staged.refusal);
    context.errors << g.warning;  // one piece, so that a line of a run beside it cannot cut in

    std::string certificatePath;
    if (!staged.failure && !signing.testCertificate.empty()) {
        std::variant<std::string, int> certificate =
            StageTestCertificate(g, named, run, signing.testCertificate, context.errors);
        if (const int* status = std::get_if<int>(&certificate)) return *status;
        certificatePath = std::get<std::string>(certificate);
    }
    if (!staged.failure) staged.failure = run.Commit();
    if (const std::optional<WriteFailure>& failure = staged.failure) {
        const std::string& path = failure->path;
        if (path != certificatePath)
            context.errors << kOpenFailedMessage << '\n' << kGenerationFailedMessage << '\n';
        context.errors << kProgram
                       << NativeOutputPath(path, settings.GenerationDirectory, g.catalog.codePage)
                              .value_or(path)
                       << ": " << failure->reason << '\n';
        return kExitGenerationFailed;
    }
    if (!g.options.quiet) {
        context.out << kGenerationSucceededMessage << '\n';
        if (!certificatePath.empty())
            context.out << "Test certificate: " << certificatePath << '\n';
    }
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
        const RunContext& context) {
    std::ostream& out = context.out;
    std::ostream& errors = context.errors;
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
    if (effective.outputDirectory)
        effective.package.GenerationDirectory = WithTrailingSeparator(
            WorkingDirectory(effective.package.GenerationDirectory), kNativeSeparator);
    // The one package of the run: every check, listing, catalog and write reads it.
    const PackageContents package = BuildPackageContents(effective.package, payloads);
    if (const std::optional<std::string> refusal =
            FindRefusal(effective, package, kNativeSeparator))
        return Refuse(errors, *refusal);

    // What people read is the text as typed; the files get the package's code page.
    const WizardSettings& typed = effective.settings;
    std::vector<std::string> planned = package.FilePaths();
    CatalogOptions catalog{options.catalogHash.value_or(HashAlgorithm::Sha1), 0,
                           effective.codePage};
    if (options.catalog) {
        if (package.catalogs.empty())
            return Refuse(errors,
                          "--catalog: no INF file of this package names a catalog file (the "
                          "Ferrolink INF has none)");
        for (const PlannedCatalog& c : package.catalogs)
            planned.push_back(package.directory + c.name);
        std::string error;
        const std::optional<std::int64_t> time =
            CatalogTime(context.environment("SOURCE_DATE_EPOCH"), context.now(), error);
        if (!time) return Refuse(errors, error);
        catalog.creationTime = *time;
    }
    std::vector<std::string> paths;
    for (const std::string& path : planned) {
        const std::optional<std::string> native =
            NativeOutputPath(path, package.directory, effective.codePage);
        if (!native)
            return Refuse(errors, "a file name holds a character of code page " +
                                      std::to_string(effective.codePage) +
                                      " that this system's file names cannot hold");
        paths.push_back(*native);
    }
    // Before anything is written: every path the run writes must open on Windows.
    if (effective.outputDirectory) {
        std::vector<std::string> names;
        for (const std::string& path : paths)
            names.push_back(path.substr(package.directory.size()));
        if (const std::optional<std::string> tooLong =
                FindTooLongPath(platform, package.directory, std::move(names)))
            return Refuse(errors, "--out: " + *tooLong);
    }
    if (options.testCertificateDir)
        if (const std::optional<std::string> fault =
                FindCertificateFolderFault(options, typed, platform))
            return Refuse(errors, *fault);

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
        default: {
            FolderCheck folder = CheckFolderContents(package.directory, platform, paths,
                                                     options.requireEmpty, errors);
            if (folder.refused) return *folder.refused;
            return Generate({options, effective, package, catalog, std::move(folder.warning)},
                            platform, context);
        }
    }
}

}  // namespace

int RunUsbDrvGen(std::span<const std::string> args, Platform& platform,
                 const PayloadStore& payloads, const RunContext& context) {
    ParsedCommandLine parsed;
    int status = kExitGenerationFailed;
    // The one barrier: whatever escapes the run (what it staged already removed on the way out)
    // is one line and exit status 1, never the end of the program.
    try {
        if (!args.empty() && args.front() == kVerifyCommand)
            return RunVerifyCommand(args.subspan(1), platform, context.now(), context.out,
                                    context.errors);
        parsed = ParseCommandLine(args);
        if (!parsed.error.empty()) return Refuse(context.errors, parsed.error);
        status = Run(parsed.options, platform, payloads, context);
    } catch (const std::exception& failed) {
        context.errors << kProgram << failed.what() << '\n';
    } catch (...) {
        context.errors << kProgram << "an unexpected failure\n";
    }
    // A listing cut short must not pass for a complete one; after generation the package is
    // there, but whoever reads the output did not get its word.
    if (!context.out.flush() && status == kExitWritten) {
        context.errors << kProgram
                       << (parsed.options.action == CliAction::Generate
                               ? "the package is written, but standard output could not be "
                                 "written\n"
                               : "cannot write to standard output\n");
        status = kExitGenerationFailed;
    }
    return status;
}

}  // namespace usbwiz
