#pragma once

#include <span>
#include <string>
#include <string_view>

#include "settings/WizardSettings.h"

namespace usbwiz {

// Renders a file template: one template line per file line, each followed by CR LF.
//
// A template is a string that starts with a line feed and ends each line with one. Markers:
//   {{FieldName}}       the text of that settings field, as stored
//   {{InfStem:upper}}   GetUpperInfStem
//   {{CatalogComment}}  ";" or nothing
//   {{TAB}}             a tab
//   {{END}}             nothing; shows that the spaces before it belong to the line
//   {{NoticeBlock}}     a whole line: replaced by the lines of `notice`
// An unknown marker is a programming error and throws std::logic_error.
std::string RenderTemplate(std::string_view templateText, const WizardSettings& settings,
                           std::span<const std::string_view> notice = {});

// One line of template text with its markers replaced, without a line break ("{{SysName}}.sys").
std::string ExpandMarkers(std::string_view text, const WizardSettings& settings);

}  // namespace usbwiz
