#include "app/PageChain.h"

namespace usbwiz {

void RunPageChain(PageRunner& runner, PageServices& services) {
    std::unique_ptr<Page> page = CreatePage(PageId::Welcome, WizardSettings{}, services);
    while (page) {
        runner.Run(*page);
        const std::optional<PageId> next = page->Next();
        if (!next) break;
        page = CreatePage(*next, page->Settings(), services);
    }
}

}  // namespace usbwiz
