#include "cli/CatalogSigning.h"

#include "cli/NativePath.h"
#include "cli/ReadSmallFile.h"
#include "platform/TextEncoding.h"
#include "settings/Utf8.h"
#include "signing/PrepareSigning.h"

namespace usbwiz {

namespace {

// A name a shell can give a variable: a letter or '_', then letters, digits and '_'.
bool IsVariableName(std::string_view text) {
    if (text.empty() || (text[0] >= '0' && text[0] <= '9')) return false;
    for (const char c : text)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '_'))
            return false;
    return true;
}

// The password the options point at: nullopt and `error` set when it cannot be had; nullopt
// alone when none is given.
std::optional<std::string> Password(const CommandLineOptions& o, std::istream& input,
                                    const EnvironmentLookup& environment, std::string& error) {
    if (o.signPasswordEnv) {
        // What was given may be the password itself, typed where its variable's name belongs.
        if (!IsVariableName(*o.signPasswordEnv)) {
            error =
                "--sign-password-env: expected the name of an environment variable, which "
                "the value given is not (it is not shown, in case it is the password)";
            return std::nullopt;
        }
        std::optional<std::string> value = environment(*o.signPasswordEnv);
        if (!value) error = "--sign-password-env: " + *o.signPasswordEnv + " is not set";
        return value;
    }
    if (!o.signPasswordStdin) return std::nullopt;
    std::string line;
    if (!std::getline(input, line)) {
        error = "--sign-password-stdin: standard input holds no password line";
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// A folder the user typed, as this system's file calls take it.
std::string NativeFolder(const std::string& typed) {
    const std::string folder = NativeDirectoryText(typed, kNativeSeparator);
    return NativePathFromUtf8(folder).value_or(folder);
}

std::string Worded(const SigningRefusal& refusal, const CommandLineOptions& o) {
    const auto inFile = [&](std::string_view option, const std::optional<std::string>& path) {
        return std::string(option) + ": " + Printable(path.value_or("")) + ": " + refusal.reason;
    };
    switch (refusal.input) {
        case SigningInput::Pkcs12File:
            return inFile("--sign-pfx", o.signPfx);
        case SigningInput::CertificateFile:
            return inFile("--sign-cert", o.signCert);
        case SigningInput::KeyFile:
            return inFile("--sign-key", o.signKey);
        case SigningInput::Password:
            return (o.signPfx ? inFile("--sign-pfx", o.signPfx) : inFile("--sign-key", o.signKey)) +
                   " (give it with --sign-password-env VAR or --sign-password-stdin)";
        case SigningInput::TestCertificateFolder:
            if (o.testCertificateDir->empty()) return "--test-certificate: " + refusal.reason;
            return inFile("--test-certificate", o.testCertificateDir);
        case SigningInput::Signer:
            break;
    }
    return "cannot sign: " + refusal.reason;
}

}  // namespace

PreparedSigner PrepareSigner(const CommandLineOptions& options, std::string_view longName,
                             HashAlgorithm hash, std::int64_t now, std::istream& passwordInput,
                             const EnvironmentLookup& environment) {
    PreparedSigner prepared;
    SigningRequest request;
    request.hash = hash;
    request.now = now;
    const auto read = [&](std::string_view option, const std::string& path, std::string& into) {
        FileText file = ReadSmallFile(path);
        if (!file.error.empty())
            prepared.error = std::string(option) + ": " + Printable(path) + ": " + file.error;
        into = std::move(file.text);
        return file.error.empty();
    };
    if (options.testCertificateDir) {
        request.source = SigningSource::TestCertificate;
        request.testCertificateFolder = NativeFolder(*options.testCertificateDir);
        if (options.outDirectory) request.packageFolder = NativeFolder(*options.outDirectory);
        request.longName = std::string(longName);
    } else if (options.signPfx) {
        request.source = SigningSource::Pkcs12;
        if (!read("--sign-pfx", *options.signPfx, request.pkcs12)) return prepared;
    } else if (options.signCert && options.signKey) {
        request.source = SigningSource::PemFiles;
        if (!read("--sign-cert", *options.signCert, request.certificates) ||
            !read("--sign-key", *options.signKey, request.privateKey))
            return prepared;
    } else {
        return prepared;
    }
    request.probeSignature = false;
    if (request.source != SigningSource::TestCertificate) {
        request.password = Password(options, passwordInput, environment, prepared.error);
        if (!prepared.error.empty()) return prepared;
    }
    PreparedSigning signing = PrepareSigning(request);
    if (signing.refusal) {
        prepared.error = Worded(*signing.refusal, options);
        return prepared;
    }
    prepared.key = std::move(signing.key);
    prepared.signer = std::move(signing.signer);
    prepared.testCertificate = std::move(signing.testCertificate);
    return prepared;
}

std::string SignatureRefusal(const std::exception& failure, const CommandLineOptions& options) {
    return Worded(RefusalOfFailedSignature(failure), options);
}

}  // namespace usbwiz
