#include "cli/CommandLine.h"

#include <algorithm>
#include <utility>

#include "cli/OptionTable.h"
#include "settings/Utf8.h"

namespace usbwiz {

namespace {

// Help, --version and --payloads answer whatever else is given, in that order; the other
// actions exclude each other.
bool StandsAlone(CliAction action) {
    return action == CliAction::Help || action == CliAction::Version ||
           action == CliAction::Payloads;
}

// Appended piece by piece: "'" + std::string(...) trips a false -Wrestrict in mingw's g++ 12.
std::string Quoted(std::string_view text) {
    std::string quoted(1, '\'');
    quoted += Printable(text);
    quoted += '\'';
    return quoted;
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
    std::vector<CliAction> standing;    // --help, --version, --payloads as given
    const OptionRow* action = nullptr;  // the one other action given

    std::string valueOf;  // the option that took the argument before this one, if one did
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::string previousTaker = std::exchange(valueOf, {});
        const std::size_t equals = arg.find('=');
        const bool inlineValue = arg.starts_with("--") && equals != std::string::npos;
        const std::string name = inlineValue ? arg.substr(0, equals) : arg;
        const OptionRow* row = FindOption(name);

        if (row == nullptr) {
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
        if (!row->value.empty()) {
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
            if (row->effect == OptionEffect::Field)
                o.texts.push_back({row, std::move(value)});
            else
                parsed.error = row->setValue(o, std::move(value));
            if (!parsed.error.empty()) return parsed;
            continue;
        }
        if (inlineValue) {
            parsed.error = name + ": takes no value";
            return parsed;
        }
        switch (row->effect) {
            case OptionEffect::Flag:
                o.flags.push_back(row);
                break;
            case OptionEffect::Action:
                if (StandsAlone(row->action)) {
                    standing.push_back(row->action);
                } else if (action != nullptr && action->action != row->action) {
                    parsed.error =
                        std::string(action->name) + " and " + name + " cannot be combined";
                    return parsed;
                } else {
                    action = row;
                }
                break;
            default:
                row->setSwitch(o);
                break;
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
    for (const CliAction answer : {CliAction::Help, CliAction::Version, CliAction::Payloads})
        if (std::find(standing.begin(), standing.end(), answer) != standing.end()) {
            o.action = answer;
            return parsed;
        }
    if (action != nullptr) o.action = action->action;
    return parsed;
}

}  // namespace usbwiz
