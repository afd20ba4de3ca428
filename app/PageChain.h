#pragma once

#include "pages/Page.h"

namespace usbwiz {

// Runs one page modally until it ends: a real dialog on Windows, a script in the tests.
class PageRunner {
  public:
    virtual ~PageRunner() = default;
    virtual void Run(Page& page) = 0;
};

// The wizard: the welcome page with an empty record, then page after page, each created afresh
// with a copy of the whole record of the page before it, until a page ends the wizard. Only one
// page is shown at a time.
void RunPageChain(PageRunner& runner, PageServices& services);

}  // namespace usbwiz
