#pragma once

#include <optional>
#include <string>

#include "platform/Hashing.h"
#include "settings/WizardSettings.h"
#include "signing/PrepareSigning.h"
#include "signing/SecretText.h"

namespace usbwiz {

// The catalog files "Yes I plan to get WHQL Certification" writes beside the INF files that
// name them: none (WHQL's come later), unsigned, or signed with the maker's certificate or a
// new test certificate.
enum class CatalogSource { None, Unsigned, MakerCertificate, TestCertificate };

// What the certification page chose beside the record's two flags, and the signer its Next
// checked. The page chain holds one for the whole run instead of copying it from page to page
// as it copies the record: it holds the password and the signer's key, which must never travel
// with the record, where a settings file could take them. Both go when the wizard ends.
struct CatalogChoice {
    CatalogSource source = CatalogSource::None;
    HashAlgorithm hash = HashAlgorithm::Sha1;
    // As typed: a PKCS #12 file alone, or a PEM certificate with its key file.
    std::string certificateFile, keyFile;
    std::string testCertificateFolder;
    SecretText password;  // of the PKCS #12 file or the encrypted key; never shown or written
    // The signer the page's last Next prepared, for Finish; empty when nothing is signed.
    PreparedSigning signing;
    std::string signerName;  // the signer's common name in the page's code page
};

// Whether the record's answer and the choice write catalogs: "Yes" with catalogs, for the
// virtual COM port package, whose INF files name them (the Ferrolink INF names none).
bool WritesCatalogs(const WizardSettings& settings, const CatalogChoice& choice);

// Whether those catalogs are signed, by the maker's certificate or a test certificate.
bool SignsCatalogs(const WizardSettings& settings, const CatalogChoice& choice);

// Where the test certificate is saved: its folder, a backslash, and its file name.
std::string TestCertificatePath(const WizardSettings& settings, const CatalogChoice& choice);

// The summary page's line about catalogs for "Yes" and the default catalog files, such as
// "signed by Acme, SHA-256"; nullopt for "No", whose summary stays as it always was.
std::optional<std::string> CatalogSummary(const WizardSettings& settings,
                                          const CatalogChoice& choice);

}  // namespace usbwiz
