#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace usbwiz {

// The icons a message box can show. Unknown: an icon that is none of the system's four.
enum class BoxIcon { None, Error, Warning, Question, Information, Unknown };

std::string NameOf(BoxIcon icon);                          // "none", "error", ...
std::optional<BoxIcon> BoxIconByName(const std::string&);  // Unknown has no name to ask for

// The icon a message box of another process shows. Icon handles mean nothing across processes,
// so the box's icon is read from the screen and compared, pixel by pixel, with the system's
// icons as this process draws them. The box must be painted and uncovered.
BoxIcon IconShownBy(HWND messageBox);

}  // namespace usbwiz
