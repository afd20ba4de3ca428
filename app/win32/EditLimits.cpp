#include "app/win32/EditLimits.h"

namespace usbwiz {

void ApplyEditLimits(HWND dialog, const PageLayout& layout) {
    for (const ControlLayout& control : layout.controls) {
        if (control.kind != ControlKind::Edit || control.maxLength <= 0) continue;
        SendDlgItemMessageA(dialog, control.id, EM_LIMITTEXT,
                            static_cast<WPARAM>(control.maxLength), 0);
    }
}

}  // namespace usbwiz
