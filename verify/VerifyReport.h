#pragma once

#include <string>

#include "verify/VerifyPackage.h"

namespace usbwiz {

inline constexpr int kVerifyPassed = 0;    // every check passed (notes aside)
inline constexpr int kVerifyFailed = 1;    // a check failed
inline constexpr int kVerifyUnusable = 2;  // the folder cannot be checked

int VerifyExitStatus(const VerifyOutcome& outcome);

// One line per file (file, catalog, verdict, reason) in columns, then a summary line.
// `chainsChecked`: roots were given. An unusable folder gets no report (the reason goes to the
// error stream).
std::string VerifyReportText(const VerifyOutcome& outcome, bool chainsChecked);

// The same as one JSON object: {"files": [{"file", "catalog", "verdict", "reason"}...],
// "summary": {...}, "exit": N}, or {"error": "...", "exit": 2} for an unusable folder.
std::string VerifyReportJson(const VerifyOutcome& outcome, bool chainsChecked);

}  // namespace usbwiz
