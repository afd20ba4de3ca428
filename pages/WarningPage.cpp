#include "pages/WarningPage.h"

namespace usbwiz {

void WarningPage::OnCommand(PageView& view, int controlId) {
    switch (controlId) {
        case kWelcomeNextButton:
            HandOver(view, PageId::ComNames);
            break;
        case kBackButton:
            HandOver(view, PageId::Welcome);
            break;
        case kCancelButton:
            OnCancel(view);
            break;
        default:
            break;
    }
}

}  // namespace usbwiz
