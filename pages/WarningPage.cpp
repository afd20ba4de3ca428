#include "pages/WarningPage.h"

namespace usbwiz {

void WarningPage::OnNext(PageView& view) {
    HandOver(view, PageId::ComNames);
}

void WarningPage::OnBack(PageView& view) {
    HandOver(view, PageId::Welcome);
}

}  // namespace usbwiz
