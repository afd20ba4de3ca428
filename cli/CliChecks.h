#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/EffectiveSettings.h"
#include "generate/PackageContents.h"

namespace usbwiz {

inline constexpr std::string_view kUncertifiedDefaultCatalogsRule =
    "DefaultCatalogFiles = 1 needs CertificationChoice = 1 (use --certification default)";

// The first rule the record breaks, as "SOURCE: rule" (the option or settings-file line and the
// wizard's own message where it has one); nullopt when every rule holds. `package` is the
// record's package. In this order:
//  0. no two files of the package that Windows would take for one;
//  1. every text field and --out: at most as long as the wizard's edit box allows (in the
//     package's code page), and no control characters in --out;
//  2. the kind's page checks as the wizard runs them: nothing blank, hexadecimal identifiers,
//     the path rule on the target directory;
//  3. the other kind's fields stay empty (they would have no effect, so setting one is a mistake);
//  4. the name rules: nothing a field cannot hold where it lands in the package;
//  5. the path rule on --out, reading the native separator as the wizard's backslash, and the
//     folder rules on each of its levels;
//  6. the certification flags form one of the certification page's answers.
// Reads the record in the package's code page (EncodeForPackage has run).
std::optional<std::string> FindRefusal(const EffectiveSettings& effective,
                                       const PackageContents& package, char separator);

}  // namespace usbwiz
