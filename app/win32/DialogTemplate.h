#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "pages/PageLayout.h"

namespace usbwiz {

// A dialog template in memory: a DLGTEMPLATE followed by its DLGITEMTEMPLATEs, on DWORD-aligned
// storage, ready for DialogBoxIndirectParamA or CreateDialogIndirectParamA.
class DialogTemplate {
  public:
    DialogTemplate(std::vector<DWORD> storage, std::size_t sizeInBytes)
        : storage_(std::move(storage)), sizeInBytes_(sizeInBytes) {}

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(storage_.data()); }
    std::size_t SizeInBytes() const { return sizeInBytes_; }

  private:
    std::vector<DWORD> storage_;
    std::size_t sizeInBytes_;
};

// Builds the template of a page. Throws std::invalid_argument when the layout cannot be
// expressed as a template: a position or size outside 16 bits, a control id other than
// kNoControlId outside 0..0xFFFE, more than 0xFFFF controls, or text the ANSI code page cannot
// convert.
DialogTemplate BuildDialogTemplate(const PageLayout& layout);

}  // namespace usbwiz
