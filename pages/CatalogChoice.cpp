#include "pages/CatalogChoice.h"

#include "signing/TestCertificateName.h"

namespace usbwiz {

namespace {

std::string_view HashName(HashAlgorithm hash) {
    return hash == HashAlgorithm::Sha1 ? "SHA-1" : "SHA-256";
}

}  // namespace

bool WritesCatalogs(const WizardSettings& settings, const CatalogChoice& choice) {
    return settings.PackageKind == Package::ComPort && settings.CertificationChoice &&
           !settings.DefaultCatalogFiles && choice.source != CatalogSource::None;
}

bool SignsCatalogs(const WizardSettings& settings, const CatalogChoice& choice) {
    return WritesCatalogs(settings, choice) && choice.source != CatalogSource::Unsigned;
}

std::string TestCertificatePath(const WizardSettings& settings, const CatalogChoice& choice) {
    std::string path = choice.testCertificateFolder;
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path + TestCertificateFileName(settings.InfPrefix);
}

std::optional<std::string> CatalogSummary(const WizardSettings& settings,
                                          const CatalogChoice& choice) {
    if (settings.PackageKind != Package::ComPort || !settings.CertificationChoice)
        return std::nullopt;
    if (settings.DefaultCatalogFiles) return "the default ones, none written";
    const std::string hash(HashName(choice.hash));
    switch (choice.source) {
        case CatalogSource::None:
            return "none written (WHQL's come later)";
        case CatalogSource::Unsigned:
            return "unsigned, " + hash;
        case CatalogSource::MakerCertificate:
            return "signed by " + choice.signerName + ", " + hash;
        case CatalogSource::TestCertificate:
            return "test certificate into " + choice.testCertificateFolder + ", " + hash;
    }
    return std::nullopt;
}

}  // namespace usbwiz
