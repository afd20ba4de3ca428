#pragma once

#include <string>
#include <string_view>

namespace usbwiz {

// The file name of a program path without its folder and extension:
// "C:\\Tools\\UsbDriverWizard.exe" gives "UsbDriverWizard".
std::string TitleFromProgramPath(std::string_view path);

// The title of the running program: the caption of every message the wizard shows.
std::string ProgramTitle();

}  // namespace usbwiz
