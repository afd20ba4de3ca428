#include "cli/VerifyCommand.h"

#include <optional>
#include <vector>

#include "cli/NativePath.h"
#include "platform/TextEncoding.h"
#include "settings/Utf8.h"
#include "verify/CertificateFile.h"
#include "verify/VerifyReport.h"

namespace usbwiz {

namespace {

// A root is one certificate or a short PEM chain: a few kilobytes.
constexpr std::size_t kLargestRootFile = 1024 * 1024;

struct VerifyOptions {
    std::optional<std::string> folder;
    std::vector<std::string> roots;
    bool json = false;
};

// Why the arguments are refused, or "".
std::string ParseVerifyOptions(std::span<const std::string> args, VerifyOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == kJsonOption) {
            options.json = true;
        } else if (arg.starts_with(std::string(kRootOption) + "=")) {
            options.roots.push_back(arg.substr(kRootOption.size() + 1));
        } else if (arg == kRootOption) {
            // As everywhere in usbdrvgen, an option is never taken as a value.
            if (i + 1 == args.size() || args[i + 1].starts_with("--"))
                return std::string(kRootOption) + " needs a certificate file";
            options.roots.push_back(args[++i]);
        } else if (arg.starts_with("-") && arg != "-") {
            return "unknown option '" + Printable(arg) + "'";
        } else if (options.folder) {
            return "one package folder only ('" + Printable(*options.folder) + "' and '" +
                   Printable(arg) + "')";
        } else {
            options.folder = arg;
        }
    }
    return options.folder ? "" : "the package folder to check is missing";
}

}  // namespace

int RunVerifyCommand(std::span<const std::string> args, Platform& platform, std::int64_t now,
                     std::ostream& out, std::ostream& errors) {
    VerifyOptions options;
    const std::string usage = ParseVerifyOptions(args, options);
    // A pipeline that asked for JSON gets it for a refusal too.
    const auto refuse = [&](const std::string& why) {
        errors << "usbdrvgen verify: " << why << '\n';
        if (options.json) out << VerifyReportJson({{}, why}, false) << std::flush;
        return kVerifyUnusable;
    };
    if (!usage.empty())
        return refuse(usage + " (usage: usbdrvgen verify DIR [--root CERT]... [--json])");

    std::vector<std::string> rootFiles;
    for (const std::string& root : options.roots) {
        const FileRead read =
            platform.ReadWholeFile(NativePathFromUtf8(root).value_or(root), kLargestRootFile);
        if (!read)
            return refuse("--root " + Printable(root) + ": " +
                          (read.tooLarge ? std::string("larger than 1 MiB") : read.failure));
        std::vector<std::string> found = CertificatesInFile(read.bytes);
        if (found.empty()) return refuse("--root " + Printable(root) + ": no certificate in it");
        for (std::string& der : found) rootFiles.push_back(std::move(der));
    }
    std::vector<ParsedCertificate> roots;
    for (const std::string& der : rootFiles) {
        std::optional<ParsedCertificate> parsed = ParseCertificate(der);
        if (!parsed) return refuse("--root: a certificate that cannot be read");
        roots.push_back(std::move(*parsed));
    }

    const std::string given = NativeDirectoryText(
        NativePathFromUtf8(*options.folder).value_or(*options.folder), kNativeSeparator);
    const std::string folder = WithTrailingSeparator(given, kNativeSeparator);
    // Windows finds no "dir\", and no drive root at all, by name: a folder with entries is there.
    if (!platform.PathExists(given) && platform.FolderEntries(folder).empty())
        return refuse(Printable(*options.folder) + ": no such folder");
    const VerifyRequest request{folder, kNativeSeparator, roots, now, SystemCodePage()};
    const VerifyOutcome outcome = VerifyPackage(platform, request);
    const int status = VerifyExitStatus(outcome);
    if (status == kVerifyUnusable) return refuse(Printable(outcome.unusable));
    out << (options.json ? VerifyReportJson(outcome, !roots.empty())
                         : VerifyReportText(outcome, !roots.empty()));
    // A report cut short must not pass for a whole one.
    if (!out.flush()) return refuse("cannot write to standard output");
    return status;
}

}  // namespace usbwiz
