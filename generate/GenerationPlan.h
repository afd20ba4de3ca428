#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "payload/PayloadStore.h"
#include "platform/Platform.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

using TextRenderer = std::string (*)(const WizardSettings&);

// A file of the package by its bare name (written behind GenerationDirectory), the text field
// the name is made from (empty for a fixed name), and where its bytes come from: a carried file
// of the payload store, or a text the record renders.
struct PlannedFile {
    std::string name;
    std::string_view field;
    std::optional<PayloadId> payload;              // a carried file
    TextRenderer render = nullptr;                 // a generated text
    MessageIcon failureIcon = MessageIcon::Error;  // the VxD INF's failure shows a warning
    // False for a file the record's options leave out (PreInstaller.exe without
    // UsePreinstaller): not written, but no other name may clash with it, as the wizard's
    // options page may still switch it on.
    bool wanted = true;
};

// Every file of the record's kind in the order they are written; empty for any kind but 1 and
// 2. Names only: nothing is rendered.
std::vector<PlannedFile> GenerationPlan(const WizardSettings& settings);

// The plans made so far by this process; tests count them to hold a run to one.
std::size_t PlansMadeSoFar();

// The name a carried file gets from its manifest name ("{{SysName}}.sys"): a name ending in
// "exe", "sys" or "vxd" (case-sensitive) as it is, any other with InfPrefix in front.
std::string CarriedFileName(std::string_view outputName, const WizardSettings& settings);

// Two files of the package that Windows would take for one: their names differ in case at
// most, so the second would overwrite the first.
struct NameClash {
    std::string_view field;  // the text field that names `file`
    std::string file;
    std::string other;             // the file of the package it meets
    std::string Describe() const;  // "'TNLIB.sys' would be the same file as 'tnlib.sys' ..."
};

// The first file among `files` whose name, made from a field, Windows would take for another's.
std::optional<NameClash> FindNameClash(std::span<const PlannedFile> files);

// The same among the files of the record's kind (the unwanted counted in): names only, for the
// pages' Next.
std::optional<NameClash> FindNameClash(const WizardSettings& settings);

}  // namespace usbwiz
