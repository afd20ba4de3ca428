#pragma once

#include <string>
#include <string_view>

#include "settings/WizardSettings.h"

namespace usbwiz {

// A copy with a-z turned into A-Z; every other byte stays, so the length never changes.
std::string UpperCased(std::string_view text);

// InfPrefix for the COM port package, InfName for Ferrolink, empty otherwise; upper-cased.
std::string GetUpperInfStem(const WizardSettings& settings);

// ";" while no certification is planned, so the catalog line stays a comment.
std::string_view CatalogComment(const WizardSettings& settings);

}  // namespace usbwiz
