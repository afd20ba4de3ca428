#include "pages/CertificationPage.h"

namespace usbwiz {

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
}

}  // namespace usbwiz
