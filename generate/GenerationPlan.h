#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "inf/TextFileWriter.h"
#include "payload/PayloadStore.h"
#include "platform/Platform.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

// A file of the package by its bare name (written behind GenerationDirectory), and the text
// field the name is made from; empty for a fixed name.
struct PlannedFile {
    std::string name;
    std::string_view field;
    std::optional<PayloadId> payload = std::nullopt;  // a carried file; else a generated text
};

// One producer call of a package: the files it writes, in order, the call itself, and for a step
// that writes generated texts, those texts in the same order (catalogs hash them).
struct GenerationStep {
    std::vector<PlannedFile> files;
    std::function<std::vector<std::string>(const WizardSettings&)> texts;
    std::function<std::optional<WriteFailure>(const WizardSettings&, Platform&,
                                              const PayloadStore&)>
        run;
};

// The fixed plan of the record's kind, PreInstaller.exe included only when UsePreinstaller is
// set; empty for any kind but 1 and 2.
std::vector<GenerationStep> GenerationPlan(const WizardSettings& settings);

// The name a carried file gets in the record's package, and the field that names it.
struct PayloadEntry;
PlannedFile PayloadFileOf(const PayloadEntry& entry, const WizardSettings& settings);

// Every path the plan writes, in the order the files are created.
std::vector<std::string> PlannedOutputPaths(const WizardSettings& settings);

// Two files of the package that Windows would take for one: their names differ in case at
// most, so the second would overwrite the first.
struct NameClash {
    std::string_view field;  // the text field that names `file`
    std::string file;
    std::string other;             // the file of the package it meets
    std::string Describe() const;  // "'TNLIB.sys' would be the same file as 'tnlib.sys' ..."
};

// The first clash among the files of the record's kind (the preinstaller counted in, as the
// options page may still switch it on); nullopt when every name stands alone.
std::optional<NameClash> FindNameClash(const WizardSettings& settings);

}  // namespace usbwiz
