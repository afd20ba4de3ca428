#include "pages/CertificationPage.h"

#include <array>
#include <ctime>
#include <span>

#include "catalog/CertificateReader.h"
#include "pages/BrowseForOutputDirectory.h"
#include "pages/CreateDirectoryPath.h"
#include "pages/OutputDirectoryPage.h"
#include "pages/PageLayout.h"
#include "platform/TextEncoding.h"

namespace usbwiz {

namespace {

// Certificates and keys are a few kilobytes; a file over 1 MiB is none of them.
constexpr std::size_t kLargestSigningFile = std::size_t{1} << 20;

constexpr std::string_view kCertificateBrowseTitle = "Select the Certificate File";
constexpr std::string_view kKeyBrowseTitle = "Select the Key File";
constexpr std::string_view kFolderBrowseTitle = "Select a Folder for the Test Certificate:";

struct SourceButton {
    int id;
    CatalogSource source;
};

constexpr std::array<SourceButton, 4> kSourceButtons{{
    {kNoCatalogsButton, CatalogSource::None},
    {kUnsignedCatalogsButton, CatalogSource::Unsigned},
    {kMakerCertificateButton, CatalogSource::MakerCertificate},
    {kTestCertificateButton, CatalogSource::TestCertificate},
}};

constexpr std::array<int, 5> kCatalogControls{kCatalogGroup, kNoCatalogsButton,
                                              kUnsignedCatalogsButton, kMakerCertificateButton,
                                              kTestCertificateButton};
constexpr std::array<int, 2> kHashControls{kSha1Button, kSha256Button};
constexpr std::array<int, 8> kMakerControls{
    kCertificateFileLabel, kCertificateFileEdit, kCertificateFileBrowse, kKeyFileLabel,
    kKeyFileEdit,          kKeyFileBrowse,       kPasswordLabel,         kPasswordEdit};
constexpr std::array<int, 3> kTestControls{kTestCertificateFolderLabel, kTestCertificateFolderEdit,
                                           kTestCertificateFolderBrowse};

void Enable(PageView& view, std::span<const int> controls, bool enabled) {
    for (const int id : controls) view.SetEnabled(id, enabled);
}

CatalogSource SourceShown(PageView& view) {
    for (const SourceButton& button : kSourceButtons)
        if (view.IsChecked(button.id)) return button.source;
    return CatalogSource::None;
}

// The edit whose text a refusal is about.
int EditOf(SigningInput input, CatalogSource source) {
    switch (input) {
        case SigningInput::KeyFile:
            return kKeyFileEdit;
        case SigningInput::Password:
            return kPasswordEdit;
        case SigningInput::TestCertificateFolder:
            return kTestCertificateFolderEdit;
        case SigningInput::Pkcs12File:
        case SigningInput::CertificateFile:
        case SigningInput::Signer:
            break;
    }
    return source == CatalogSource::TestCertificate ? kTestCertificateFolderEdit
                                                    : kCertificateFileEdit;
}

// Page texts are in the system's code page, certificate names in UTF-8. A code page the
// conversions do not know is taken to be UTF-8 itself.
std::string Utf8Of(const std::string& text, unsigned codePage) {
    if (!IsSupportedCodePage(codePage)) return text;
    return ToUtf8(text, codePage).value_or(text);
}
std::string PageTextOf(const std::string& utf8, unsigned codePage) {
    if (!IsSupportedCodePage(codePage)) return utf8;
    CodePageText text = FromUtf8(utf8, codePage);
    if (!text.unmappableAt) return text.bytes;
    std::string shown;  // what the code page cannot hold shows as '?', one per character
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            shown += static_cast<unsigned char>(c) < 0x80 ? c : '?';
    return shown;
}

// The request's secrets are wiped however the preparation ends.
struct WipedOnExit {
    SigningRequest& request;
    ~WipedOnExit() {
        WipeText(request.pkcs12);
        WipeText(request.privateKey);
        if (request.password) WipeText(*request.password);
    }
};

}  // namespace

void CertificationPage::OnInit(PageView& view) {
    view.SetChecked(!settings_.CertificationChoice  ? kNoCertificationButton
                    : settings_.DefaultCatalogFiles ? kDefaultCatalogsButton
                                                    : kPlanCertificationButton,
                    true);
    const CatalogChoice& choice = services_.catalogs;
    for (const SourceButton& button : kSourceButtons)
        view.SetChecked(button.id, button.source == choice.source);
    view.SetChecked(kSha1Button, choice.hash == HashAlgorithm::Sha1);
    view.SetChecked(kSha256Button, choice.hash == HashAlgorithm::Sha256);
    view.SetText(kCertificateFileEdit, choice.certificateFile);
    view.SetText(kKeyFileEdit, choice.keyFile);
    view.SetText(kPasswordEdit, choice.password.Text());
    view.SetText(kTestCertificateFolderEdit, choice.testCertificateFolder);
    EnableCatalogControls(view);
}

void CertificationPage::OnControl(PageView& view, int controlId) {
    if (controlId == kCertificationHelp)
        view.ShowMessage(kCertificationInfoText, MessageIcon::None, MessageButtons::Ok);
    else if (controlId == kCertificateFileBrowse || controlId == kKeyFileBrowse ||
             controlId == kTestCertificateFolderBrowse)
        Browse(view, controlId);
    else
        EnableCatalogControls(view);  // an answer or a catalog choice
}

void CertificationPage::OnNext(PageView& view) {
    StoreChoice(view);
    CatalogChoice& choice = services_.catalogs;
    if (SignsCatalogs(settings_, choice)) {
        if (!PrepareSigner(view)) return;
        if (choice.source == CatalogSource::TestCertificate && !MakeTestCertificateFolder(view)) {
            choice.signing = {};
            return;
        }
    }
    HandOver(view, PageId::OutputDirectory);
}

void CertificationPage::OnBack(PageView& view) {
    StoreChoice(view);
    HandOver(view, PageId::Options);
}

// The default catalog files change no other field: names and identifiers stay as typed.
void CertificationPage::StoreChoice(PageView& view) {
    if (view.IsChecked(kPlanCertificationButton)) {
        settings_.CertificationChoice = true;
        settings_.DefaultCatalogFiles = false;
    } else if (view.IsChecked(kNoCertificationButton)) {
        settings_.CertificationChoice = false;
        settings_.DefaultCatalogFiles = false;
    } else if (view.IsChecked(kDefaultCatalogsButton)) {
        settings_.CertificationChoice = true;
        settings_.DefaultCatalogFiles = true;
    }
    CatalogChoice& choice = services_.catalogs;
    choice.source = SourceShown(view);
    choice.hash = view.IsChecked(kSha256Button) ? HashAlgorithm::Sha256 : HashAlgorithm::Sha1;
    choice.certificateFile = view.GetText(kCertificateFileEdit);
    choice.keyFile = view.GetText(kKeyFileEdit);
    std::string password = view.GetText(kPasswordEdit);
    choice.password.Replace(password);
    choice.testCertificateFolder = view.GetText(kTestCertificateFolderEdit);
    // Whatever was prepared is for what was shown before; only Next prepares again.
    choice.signing = {};
    choice.signerName.clear();
}

void CertificationPage::EnableCatalogControls(PageView& view) {
    const bool yes = view.IsChecked(kPlanCertificationButton);
    const CatalogSource source = SourceShown(view);
    Enable(view, kCatalogControls, yes);
    Enable(view, kHashControls, yes && source != CatalogSource::None);
    Enable(view, kMakerControls, yes && source == CatalogSource::MakerCertificate);
    Enable(view, kTestControls, yes && source == CatalogSource::TestCertificate);
}

// The files are read here, the key loaded and the certificate judged by the same preparation
// as usbdrvgen's; a refusal names the field it is about and puts the focus there. A PKCS #12
// file holds its key; a PEM certificate comes with a key file.
bool CertificationPage::PrepareSigner(PageView& view) {
    CatalogChoice& choice = services_.catalogs;
    const auto refuse = [&](int edit, std::string_view reason) {
        RefuseText(view, edit, std::string(LabelOf(Id(), edit)) + ": " + std::string(reason));
        return false;
    };
    const auto read = [&](int edit, const std::string& path, std::string& into) {
        if (path.empty()) return refuse(edit, "the file's name is empty");
        FileRead file = services_.platform.ReadWholeFile(path, kLargestSigningFile);
        if (!file) return refuse(edit, file.failure);
        into = std::move(file.bytes);
        return true;
    };

    SigningRequest request;
    const WipedOnExit wiped{request};
    request.hash = choice.hash;
    request.now = static_cast<std::int64_t>(std::time(nullptr));
    if (choice.source == CatalogSource::TestCertificate) {
        request.source = SigningSource::TestCertificate;
        request.testCertificateFolder = choice.testCertificateFolder;
        request.longName = Utf8Of(settings_.LongName, services_.codePage);
    } else if (choice.keyFile.empty()) {
        request.source = SigningSource::Pkcs12;
        if (!read(kCertificateFileEdit, choice.certificateFile, request.pkcs12)) return false;
        if (request.pkcs12.find("-----BEGIN") != std::string::npos)
            return refuse(kKeyFileEdit, "a PEM certificate needs its key file");
    } else {
        request.source = SigningSource::PemFiles;
        if (!read(kCertificateFileEdit, choice.certificateFile, request.certificates) ||
            !read(kKeyFileEdit, choice.keyFile, request.privateKey))
            return false;
    }
    if (!choice.password.Text().empty()) request.password = choice.password.Text();

    PreparedSigning prepared = PrepareSigning(request);
    if (prepared.refusal)
        return refuse(EditOf(prepared.refusal->input, choice.source), prepared.refusal->reason);
    if (const std::optional<ParsedCertificate> signer =
            ParseCertificate(prepared.signer.certificates.front()))
        choice.signerName = PageTextOf(signer->commonName, services_.codePage);
    choice.signing = std::move(prepared);
    return true;
}

// As the output directory: a folder that is not there yet is made once the user agrees.
bool CertificationPage::MakeTestCertificateFolder(PageView& view) {
    const std::string& folder = services_.catalogs.testCertificateFolder;
    if (DirectoryEntryExists(services_.platform, folder)) return true;
    if (view.ShowMessage(kCreateDirectoryQuestion, MessageIcon::Question, MessageButtons::YesNo) ==
        MessageAnswer::Yes) {
        if (CreateDirectoryPath(services_.platform, WithTrailingBackslash(folder))) return true;
        view.ShowMessage(kCreateDirectoryFailedMessage, MessageIcon::Warning, MessageButtons::Ok);
    }
    view.SetFocus(kTestCertificateFolderEdit);
    return false;
}

// Cancelling a browser keeps what was typed.
void CertificationPage::Browse(PageView& view, int controlId) {
    Platform& platform = services_.platform;
    std::optional<std::string> chosen;
    int edit = kTestCertificateFolderEdit;
    if (controlId == kCertificateFileBrowse) {
        edit = kCertificateFileEdit;
        chosen = platform.BrowseForFile(std::string(kCertificateBrowseTitle),
                                        {{"Certificates", "*.pfx;*.p12;*.pem;*.cer;*.crt"}},
                                        view.Window());
    } else if (controlId == kKeyFileBrowse) {
        edit = kKeyFileEdit;
        chosen = platform.BrowseForFile(std::string(kKeyBrowseTitle), {{"Keys", "*.pem;*.key"}},
                                        view.Window());
    } else {
        const BrowsedFolder folder =
            platform.BrowseForFolder(std::string(kFolderBrowseTitle), view.Window());
        if (folder.notInCodePage) {
            RefuseText(view, edit, FolderNotInCodePageMessage(services_.codePage));
            return;
        }
        chosen = folder.path;
    }
    if (chosen) view.SetText(edit, *chosen);
}

}  // namespace usbwiz
