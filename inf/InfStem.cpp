#include "inf/InfStem.h"

namespace usbwiz {

std::string UpperCased(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

std::string GetUpperInfStem(const WizardSettings& settings) {
    switch (settings.PackageKind) {
        case Package::ComPort:
            return UpperCased(settings.InfPrefix);
        case Package::Ferrolink:
            return UpperCased(settings.InfName);
        default:
            return {};
    }
}

std::string_view CatalogComment(const WizardSettings& settings) {
    return !settings.CertificationChoice ? ";" : "";
}

}  // namespace usbwiz
