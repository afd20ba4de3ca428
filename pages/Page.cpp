#include "pages/Page.h"

#include "pages/PageLayout.h"

namespace usbwiz {

void Page::OnCommand(PageView& view, int controlId) {
    if (controlId == kCancelButton) {
        OnCancel(view);
    } else if (controlId == kBackButton) {
        OnBack(view);
    } else {
        for (const ControlLayout& control : LayoutOf(Id()).controls) {
            if (control.kind == ControlKind::DefaultButton && control.id == controlId) {
                OnNext(view);
                return;
            }
        }
        OnControl(view, controlId);
    }
}

}  // namespace usbwiz
