#include "app/WelcomePage.h"

namespace usbwiz {
namespace {

constexpr int kComPortButton = 1035;
constexpr int kFerrolinkButton = 1036;

}  // namespace

void WelcomePage::OnInit(PageView& view) {
    view.SetChecked(kComPortButton, settings_.PackageKind == Package::ComPort);
    view.SetChecked(kFerrolinkButton, settings_.PackageKind == Package::Ferrolink);
}

void WelcomePage::OnCommand(PageView& view, int controlId) {
    switch (controlId) {
        case kComPortButton:
            ApplyPackageDefaults(settings_, Package::ComPort, services_.platform);
            break;
        case kFerrolinkButton:
            ApplyPackageDefaults(settings_, Package::Ferrolink, services_.platform);
            break;
        case kWelcomeNextButton:
            // Without a chosen kind Next does nothing, and says nothing.
            if (view.IsChecked(kComPortButton))
                HandOver(view, PageId::Warning);
            else if (view.IsChecked(kFerrolinkButton))
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
