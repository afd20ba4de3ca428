#include "pages/CertificationPage.h"

namespace usbwiz {
namespace {

constexpr int kPlanCertification = 1014;
constexpr int kNoCertification = 1015;
constexpr int kDefaultCatalogFiles = 1026;

}  // namespace

void CertificationPage::OnCommand(PageView& view, int controlId) {
    switch (controlId) {
        case kNextButton:
            StoreChoice(view);
            HandOver(view, PageId::OutputDirectory);
            break;
        case kBackButton:
            StoreChoice(view);
            HandOver(view, PageId::Options);
            break;
        case kCancelButton:
            OnCancel(view);
            break;
        default:
            break;
    }
}

// The default catalog files change no other field: names and identifiers stay as typed.
void CertificationPage::StoreChoice(PageView& view) {
    if (view.IsChecked(kPlanCertification)) {
        settings_.CertificationChoice = true;
        settings_.DefaultCatalogFiles = false;
    } else if (view.IsChecked(kNoCertification)) {
        settings_.CertificationChoice = false;
        settings_.DefaultCatalogFiles = false;
    } else if (view.IsChecked(kDefaultCatalogFiles)) {
        settings_.CertificationChoice = true;
        settings_.DefaultCatalogFiles = true;
    }
}

}  // namespace usbwiz
