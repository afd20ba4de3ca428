#include "cli/ManualSections.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "cli/Roff.h"
#include "cli/SettingsFile.h"
#include "generate/PackageContents.h"
#include "payload/PayloadManifest.h"
#include "platform/TextEncoding.h"
#include "settings/SettingsFields.h"

namespace usbwiz {
namespace {

struct Example {
    std::string_view what;
    std::string_view commands;  // shell lines, as typed
};

// The README's examples: a build pipeline, then the three ways of signing the catalogs.
constexpr Example kExamples[] = {
    {"Keep a product's settings in a file, then write its package from it (--list names the "
     "files, --summary shows the wizard's summary page):",
     "usbdrvgen --kind com --pid C7A0 --uninstall-name acmeun \\\n"
     "          --dump-settings > acme.txt\n"
     "usbdrvgen --settings acme.txt --out out/acme"},
    {"In a release pipeline, write the catalogs too and sign them with the maker's code-signing "
     "certificate, from a PKCS #12 file whose password the pipeline's secret store puts in an "
     "environment variable, or from a PEM certificate chain and key:",
     "export PFX_PASSWORD=...\n"
     "usbdrvgen --settings acme.txt --catalog --catalog-hash sha256 --out out/acme \\\n"
     "          --sign-pfx maker.pfx --sign-password-env PFX_PASSWORD\n"
     "usbdrvgen --settings acme.txt --catalog --out out/acme \\\n"
     "          --sign-cert maker-chain.pem --sign-key maker.key"},
    {"On a test machine, sign with a new throw-away certificate, written to certs/ for the test "
     "machine's certificate stores:",
     "usbdrvgen --kind com --catalog --out out/acme --test-certificate certs"},
};

struct Kind {
    Package package;
    std::string_view option;  // as --kind takes it
};

constexpr Kind kKinds[] = {{Package::ComPort, "com"}, {Package::Ferrolink, "ferrolink"}};

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

void AppendLines(std::string& out, std::string_view text) {
    for (const std::string_view line : Lines(text)) (out += Roff(line)) += '\n';
}

std::string_view Describe(const PlannedFile& file) {
    for (const PayloadEntry& entry : kPayloadManifest) {
        if (file.payload != entry.id) continue;
        switch (entry.role) {
            case PayloadRole::Driver:
                return "carried driver file";
            case PayloadRole::Uninstaller:
                return "carried uninstaller";
            case PayloadRole::Preinstaller:
                return "carried preinstaller, left out by --no-preinstaller";
        }
    }
    return "generated from the settings";
}

// One .TP entry: the term in `font` (B bold, I italic), then its text. Appended piece by piece:
// mingw g++ 12 warns falsely (-Wrestrict) about "literal" + std::string.
void AppendEntry(std::string& out, char font, std::string_view term, std::string_view text) {
    ((out += ".TP\n.") += font) += ' ';
    ((((out += Roff(term)) += '\n') += Roff(text)) += '\n');
}

void AppendHeading(std::string& out, std::string_view macro, std::string_view title) {
    ((((out += macro) += " \"") += Roff(title)) += "\"\n");
}

std::string ValueText(std::string_view value) {
    return value.empty() ? "(empty)" : std::string(value);
}

// Every field a settings file may set, with each kind's default as --dump-settings writes it.
void AppendSettingsFields(std::string& out, Platform& platform) {
    std::vector<std::string> defaults;
    for (const Kind& kind : kKinds) {
        WizardSettings settings;
        ApplyPackageDefaults(settings, kind.package, platform.WindowsDirectory());
        defaults.push_back(FormatSettingsFile(settings, SystemCodePage()));
    }
    const std::vector<std::string_view> com = Lines(defaults[0]);
    const std::vector<std::string_view> ferrolink = Lines(defaults[1]);
    for (std::size_t i = 0; i < com.size() && i < ferrolink.size(); ++i) {
        const std::size_t equals = com[i].find(" =");
        if (com[i].starts_with('#') || equals == std::string_view::npos) continue;
        const std::string_view name = com[i].substr(0, equals);
        const auto valueOf = [&](std::string_view line) {
            return line.size() > equals + 3 ? line.substr(equals + 3) : std::string_view();
        };
        const std::string_view comValue = valueOf(com[i]);
        const std::string_view ferrolinkValue = valueOf(ferrolink[i]);
        std::string text = comValue == ferrolinkValue
                               ? ValueText(comValue) + " for both kinds"
                               : std::string(kKinds[0].option) + ": " + ValueText(comValue) + "; " +
                                     std::string(kKinds[1].option) + ": " +
                                     ValueText(ferrolinkValue);
        if (const TextField* field = FindTextField(name))
            text += " (at most " + std::to_string(field->maxLength) + " characters)";
        else if (FindFlagField(name))
            text += " (0 or 1)";
        AppendEntry(out, 'B', name, text);
    }
}

// The manual names the files of a package; their bytes do not matter to it.
class NoPayloads final : public PayloadStore {
  public:
    std::optional<std::string_view> Find(PayloadId) const override { return std::nullopt; }
};

// What a package holds, from the package with every text field standing as {Field}.
void AppendPackageFiles(std::string& out) {
    for (const Kind& kind : kKinds) {
        WizardSettings named;
        named.PackageKind = kind.package;
        named.UsePreinstaller = true;
        named.CertificationChoice = true;  // catalogs are named by the INF files that use them
        for (const TextField& field : kTextFields) {
            std::string braced(1, '{');
            (braced += field.name) += '}';
            named.*field.member = std::move(braced);
        }
        named.GenerationDirectory.clear();
        AppendHeading(out, ".SS", std::string("--kind ") += kind.option);
        const PackageContents package = BuildPackageContents(named, NoPayloads());
        for (const PackageFile& file : package.files)
            AppendEntry(out, 'I', file.planned.name, Describe(file.planned));
        for (const PlannedCatalog& catalog : package.catalogs)
            AppendEntry(out, 'I', catalog.name, "catalog file, written with --catalog");
    }
}

}  // namespace

std::string ManualSections(Platform& platform) {
    std::string out = ".SH ENVIRONMENT\n";
    AppendEntry(out, 'B', "SOURCE_DATE_EPOCH",
                "The time written into the catalogs (--catalog), in seconds since 1970-01-01 UTC "
                "(up to 2049); without it, the time of the run. Two runs with the same value "
                "write the same unsigned catalogs.");
    AppendEntry(out, 'I', "VAR",
                "The variable that --sign-password-env names holds the PKCS #12 file's password. "
                "The password is never printed; it never goes on the command line.");

    out += ".SH FILES\n";
    AppendHeading(out, ".SS", "Settings files (--settings FILE, --dump-settings)");
    out += ".PP\n";
    AppendLines(out,
                "Lines of 'Field = value', '#' comment lines allowed, UTF-8, each field at most "
                "once; a value that keeps blanks at its ends, or starts with a double quote, "
                "stands in double quotes. Options given beside --settings override the file. "
                "GenerationDirectory comes from --out only. The fields, with each kind's "
                "defaults:");
    AppendSettingsFields(out, platform);
    out += ".SS \"Packages\"\n.PP\n";
    AppendLines(out,
                "DIR receives these files, the catalogs last; a name in braces is the value of "
                "that field.");
    AppendPackageFiles(out);

    out += ".SH EXAMPLES\n";
    for (const Example& example : kExamples) {
        out += ".PP\n";
        AppendLines(out, example.what);
        out += ".PP\n.RS 4\n.nf\n";
        AppendLines(out, example.commands);
        out += ".fi\n.RE\n";
    }
    return out;
}

}  // namespace usbwiz
