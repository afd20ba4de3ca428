#include "app/win32/Win32PageRunner.h"

#include "app/win32/DialogTemplate.h"
#include "app/win32/PageDialog.h"
#include "app/win32/WelcomePageDialog.h"

namespace usbwiz {

void Win32PageRunner::Run(Page& page) {
    const PageLayout& layout = LayoutOf(page.Id());
    const DialogTemplate dialogTemplate = BuildDialogTemplate(layout);
    if (page.Id() == PageId::Welcome) {
        WelcomePageDialog dialog(page, layout, platform_, title_);
        dialog.RunModal(instance_, dialogTemplate.Get(), nullptr);
    } else {
        PageDialog dialog(page, layout, platform_, title_);
        dialog.RunModal(instance_, dialogTemplate.Get(), nullptr);
    }
}

}  // namespace usbwiz
