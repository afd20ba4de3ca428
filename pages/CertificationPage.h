#pragma once

#include <string_view>

#include "pages/Page.h"

namespace usbwiz {

// Where to read more about WHQL certification, shown by the "?" beside the question.
inline constexpr std::string_view kCertificationInfoText =
    "For more info on WHQL Certification goto:\n"
    "  https://learn.microsoft.com/windows-hardware/drivers/install/driver-signing\n"
    "  https://www.example.com/";

// Whether the generated INF files name catalog files, and which catalogs the package gets. The
// three answers set CertificationChoice and DefaultCatalogFiles in the record as they always
// did; with "Yes" the page also chooses catalog files, their hash and their signer, which the
// page chain keeps (PageServices::catalogs). Next checks the signer before anything is written
// and stays on a refusal; Back stores the choice unchecked.
class CertificationPage : public Page {
  public:
    using Page::Page;
    PageId Id() const override { return PageId::Certification; }
    void OnInit(PageView& view) override;

  protected:
    void OnNext(PageView& view) override;
    void OnBack(PageView& view) override;
    void OnControl(PageView& view, int controlId) override;

  private:
    // Next and Back alike store the selected answer (with none selected the flags stay) and
    // the catalog choice as shown.
    void StoreChoice(PageView& view);
    // Enables the catalog controls that the answer and the catalog choice make count.
    void EnableCatalogControls(PageView& view);
    // Loads and checks the signer into the choice; false after showing why it cannot sign.
    bool PrepareSigner(PageView& view);
    // Makes the test certificate's folder on request; false when it is not there afterwards.
    bool MakeTestCertificateFolder(PageView& view);
    void Browse(PageView& view, int controlId);
};

}  // namespace usbwiz
