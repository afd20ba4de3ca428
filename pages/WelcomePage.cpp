#include "pages/WelcomePage.h"

namespace usbwiz {

void WelcomePage::OnInit(PageView& view) {
    view.SetChecked(kComPortKindButton, settings_.PackageKind == Package::ComPort);
    view.SetChecked(kFerrolinkKindButton, settings_.PackageKind == Package::Ferrolink);
}

void WelcomePage::OnCommand(PageView& view, int controlId) {
    switch (controlId) {
        case kComPortKindButton:
            ApplyPackageDefaults(settings_, Package::ComPort, services_.platform);
            break;
        case kFerrolinkKindButton:
            ApplyPackageDefaults(settings_, Package::Ferrolink, services_.platform);
            break;
        case kWelcomeNextButton:
            // Without a chosen kind Next does nothing, and says nothing.
            if (view.IsChecked(kComPortKindButton))
                HandOver(view, PageId::Warning);
            else if (view.IsChecked(kFerrolinkKindButton))
                HandOver(view, PageId::FerrolinkNames);
            break;
        case kCancelButton:
            OnCancel(view);
            break;
        default:
            break;
    }
}

}  // namespace usbwiz
