#include "pages/WelcomePage.h"

namespace usbwiz {

void WelcomePage::OnInit(PageView& view) {
    view.SetChecked(kComPortKindButton, settings_.PackageKind == Package::ComPort);
    view.SetChecked(kFerrolinkKindButton, settings_.PackageKind == Package::Ferrolink);
}

void WelcomePage::OnControl(PageView&, int controlId) {
    if (controlId == kComPortKindButton)
        ApplyPackageDefaults(settings_, Package::ComPort, services_.platform.WindowsDirectory());
    else if (controlId == kFerrolinkKindButton)
        ApplyPackageDefaults(settings_, Package::Ferrolink, services_.platform.WindowsDirectory());
}

// Without a chosen kind Next does nothing, and says nothing.
void WelcomePage::OnNext(PageView& view) {
    if (view.IsChecked(kComPortKindButton))
        HandOver(view, PageId::Warning);
    else if (view.IsChecked(kFerrolinkKindButton))
        HandOver(view, PageId::FerrolinkNames);
}

}  // namespace usbwiz
