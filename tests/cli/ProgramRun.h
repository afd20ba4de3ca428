#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "generate/GeneratePackage.h"
#include "platform/PosixPlatform.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDirectory.h"

namespace usbwiz::testing {

// What a program run left behind.
struct ProgramRun {
    int status;
    std::string out;
    std::string errors;
};

inline std::string ShellQuoted(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs `command` (program and arguments) through the shell and captures both streams.
inline ProgramRun RunProgram(const std::vector<std::string>& command) {
    const TempDirectory capture;
    std::string line;
    for (const std::string& part : command) line += ShellQuoted(part) + " ";
    line += ">" + capture.Path() + "out 2>" + capture.Path() + "err";
    const int raw = std::system(line.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1,
            ReadFileBytes(capture.Path() + "out").value_or(""),
            ReadFileBytes(capture.Path() + "err").value_or("")};
}

// Every file of a directory by name, with its bytes.
inline std::map<std::string, std::string> FilesIn(const TempDirectory& directory) {
    std::map<std::string, std::string> files;
    for (const std::string& name : directory.EntryNames())
        files[name] = ReadFileBytes(directory.Path() + name).value_or("(unreadable)");
    return files;
}

// The package the core itself writes for `settings`, into `directory`.
inline std::map<std::string, std::string> CorePackage(WizardSettings settings,
                                                      const TempDirectory& directory) {
    PosixPlatform platform;
    settings.GenerationDirectory = directory.Path();
    if (!GeneratePackage(settings, platform, EmbeddedPayloads()).written) return {};
    return FilesIn(directory);
}

}  // namespace usbwiz::testing
