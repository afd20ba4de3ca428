#include "cli/CommandLine.h"

#include <utility>

#include "cli/CodePageNumber.h"
#include "settings/Utf8.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

namespace {

const TextOption* FindTextOption(std::string_view name) {
    for (const TextOption& o : kTextOptions)
        if (o.option == name) return &o;
    return nullptr;
}

const FlagOption* FindFlagOption(std::string_view name) {
    for (const FlagOption& o : kFlagOptions)
        if (o.option == name) return &o;
    return nullptr;
}

bool TakesValue(std::string_view name) {
    return FindTextOption(name) != nullptr || name == "--kind" || name == kOutOption ||
           name == "--settings" || name == "--certification" || name == "--codepage" ||
           name == "--catalog-hash" || name == "--sign-pfx" || name == "--sign-password-env" ||
           name == "--sign-cert" || name == "--sign-key" || name == "--test-certificate";
}

std::optional<CliAction> ActionOf(std::string_view name) {
    if (name == "--list") return CliAction::List;
    if (name == "--summary") return CliAction::Summary;
    if (name == "--dump-settings") return CliAction::DumpSettings;
    return std::nullopt;
}

std::string_view ActionOption(CliAction action) {
    switch (action) {
        case CliAction::List:
            return "--list";
        case CliAction::Summary:
            return "--summary";
        case CliAction::DumpSettings:
            return "--dump-settings";
        default:
            return "";
    }
}

// Appended piece by piece: "'" + std::string(...) trips a false -Wrestrict in mingw's g++ 12.
std::string Quoted(std::string_view text) {
    std::string quoted(1, '\'');
    quoted += Printable(text);
    quoted += '\'';
    return quoted;
}

// Sets one option that takes a value; answers why the value is refused, or "".
std::string SetValue(CommandLineOptions& o, std::string_view name, std::string value) {
    if (const TextOption* text = FindTextOption(name)) {
        o.texts.push_back({text, std::move(value)});
    } else if (name == "--kind") {
        if (value == "com")
            o.kind = Package::ComPort;
        else if (value == "ferrolink")
            o.kind = Package::Ferrolink;
        else
            return "--kind: expected com or ferrolink, not " + Quoted(value);
    } else if (name == kOutOption) {
        o.outDirectory = std::move(value);
    } else if (name == "--settings") {
        o.settingsFile = std::move(value);
    } else if (name == "--certification") {
        if (value == "plan")
            o.certification = Certification::Plan;
        else if (value == "default")
            o.certification = Certification::Default;
        else if (value == "none")
            o.certification = Certification::None;
        else
            return "--certification: expected plan, default or none, not " + Quoted(value);
    } else if (name == "--codepage") {
        o.codePage = ParseCodePage(value);
        if (!o.codePage) return "--codepage: " + CodePageRule(value);
    } else if (name == "--sign-pfx") {
        o.signPfx = std::move(value);
    } else if (name == "--sign-password-env") {
        o.signPasswordEnv = std::move(value);
    } else if (name == "--sign-cert") {
        o.signCert = std::move(value);
    } else if (name == "--sign-key") {
        o.signKey = std::move(value);
    } else if (name == "--test-certificate") {
        o.testCertificateDir = std::move(value);
    } else if (name == "--catalog-hash") {
        if (value == "sha1")
            o.catalogHash = HashAlgorithm::Sha1;
        else if (value == "sha256")
            o.catalogHash = HashAlgorithm::Sha256;
        else
            return "--catalog-hash: expected sha1 or sha256, not " + Quoted(value);
    }
    return "";
}

// One way of signing, all it needs, and catalogs to sign.
std::string SigningRefusal(const CommandLineOptions& o) {
    const bool pem = o.signCert || o.signKey;
    const int ways = int(o.signPfx.has_value()) + int(pem) + int(o.testCertificateDir.has_value());
    const bool password = o.signPasswordEnv || o.signPasswordStdin;
    if (password && !o.signPfx && !o.signKey)
        return "--sign-password-env and --sign-password-stdin: only with --sign-pfx or --sign-key";
    if (ways == 0) return "";
    if (!o.catalog) return "signing is for catalogs: give --catalog";
    if (ways > 1)
        return "sign with one of --sign-pfx, --sign-cert and --sign-key, or --test-certificate";
    if (pem && !(o.signCert && o.signKey)) return "--sign-cert and --sign-key go together";
    if (o.signPasswordEnv && o.signPasswordStdin)
        return "the password comes from --sign-password-env or --sign-password-stdin, not both";
    return "";
}

}  // namespace

ParsedCommandLine ParseCommandLine(std::span<const std::string> args) {
    ParsedCommandLine parsed;
    CommandLineOptions& o = parsed.options;
    bool help = false;
    bool version = false;
    bool payloads = false;
    std::optional<CliAction> action;

    std::string valueOf;  // the option that took the argument before this one, if one did
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::string previousTaker = std::exchange(valueOf, {});
        const std::size_t equals = arg.find('=');
        const bool inlineValue = arg.starts_with("--") && equals != std::string::npos;
        const std::string name = inlineValue ? arg.substr(0, equals) : arg;

        if (TakesValue(name)) {
            std::string value;
            if (inlineValue) {
                value = arg.substr(equals + 1);
            } else if (i + 1 < args.size() && !args[i + 1].starts_with("--")) {
                value = args[++i];
                valueOf = name;
            } else {
                // An empty variable in a pipeline must not make the next option a value.
                parsed.error =
                    name + ": needs a value (one that starts with -- goes as " + name + "=VALUE)";
                return parsed;
            }
            parsed.error = SetValue(o, name, std::move(value));
            if (!parsed.error.empty()) return parsed;
            continue;
        }

        const FlagOption* flag = FindFlagOption(name);
        const std::optional<CliAction> thisAction = ActionOf(name);
        const bool known = flag != nullptr || thisAction || name == "--quiet" || name == "--help" ||
                           name == "--version" || name == "--require-empty" ||
                           name == "--catalog" || name == "--sign-password-stdin" ||
                           name == "--payloads";
        if (!known) {
            parsed.error = arg.starts_with("-") ? "unknown option " + Quoted(name)
                                                : "unexpected argument " + Quoted(arg);
            // A password option's value is never shown, nor what follows it: a password with
            // a blank, unquoted, arrives as two arguments.
            if (previousTaker == "--sign-password-env" && !arg.starts_with("-"))
                parsed.error =
                    "unexpected argument after --sign-password-env's value (neither "
                    "is shown: --sign-password-env takes one variable's name)";
            else if (!previousTaker.empty() && !arg.starts_with("-"))
                parsed.error +=
                    " (" + previousTaker + " takes one value: " + Quoted(args[i - 1]) + ")";
            return parsed;
        }
        if (inlineValue) {
            parsed.error = name + ": takes no value";
            return parsed;
        }
        if (flag != nullptr) {
            o.flags.push_back(flag);
        } else if (thisAction) {
            if (action && *action != *thisAction) {
                parsed.error =
                    std::string(ActionOption(*action)) + " and " + name + " cannot be combined";
                return parsed;
            }
            action = thisAction;
        } else if (name == "--quiet") {
            o.quiet = true;
        } else if (name == "--require-empty") {
            o.requireEmpty = true;
        } else if (name == "--catalog") {
            o.catalog = true;
        } else if (name == "--sign-password-stdin") {
            o.signPasswordStdin = true;
        } else if (name == "--help") {
            help = true;
        } else if (name == "--payloads") {
            payloads = true;
        } else {
            version = true;
        }
    }

    if (o.catalogHash && !o.catalog) {
        parsed.error = "--catalog-hash: only with --catalog";
        return parsed;
    }
    parsed.error = SigningRefusal(o);
    if (!parsed.error.empty()) return parsed;
    if (o.catalog && o.certification && *o.certification != Certification::Plan) {
        parsed.error =
            "--catalog: the INF files name their catalogs only with --certification plan";
        return parsed;
    }
    if (o.catalog) o.certification = Certification::Plan;
    if (help)
        o.action = CliAction::Help;
    else if (version)
        o.action = CliAction::Version;
    else if (payloads)
        o.action = CliAction::Payloads;
    else if (action)
        o.action = *action;
    return parsed;
}

}  // namespace usbwiz
