#pragma once

#include <windows.h>

#include "pages/PageLayout.h"

namespace usbwiz {

// A read-only text column (the summary page's values) whose lines may be wider than the column.
// While any line is, the column has a horizontal scroll bar, and each line that is cut off shows
// whole in a tooltip over it. The text itself is never changed, so selecting and copying it work
// as before.
class WideTextColumn {
  public:
    WideTextColumn(HWND dialog, const ControlLayout& layout);
    WideTextColumn(const WideTextColumn&) = delete;
    WideTextColumn& operator=(const WideTextColumn&) = delete;

    // Puts the scroll bar and the tooltips right for the column's text and size; again after
    // either changes.
    void Fit();

  private:
    HWND dialog_;
    const ControlLayout& layout_;
    HWND column_;
    HWND tooltip_ = nullptr;  // owned by the dialog, which destroys it
    int tools_ = 0;           // tooltip tools 0 .. tools_ - 1 are the column's lines
};

}  // namespace usbwiz
