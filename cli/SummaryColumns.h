#pragma once

#include <string>
#include <string_view>

namespace usbwiz {

// The summary page's two columns as text lines: each label padded to the widest label, one
// space, then the value beside it, so line n of the labels stands beside line n of the values.
// Labels are separated by "\n", values by "\r\n" (as the page's controls hold them). Every
// output line ends with "\n"; a line without a value is not padded.
std::string SummaryColumns(std::string_view labels, std::string_view values);

}  // namespace usbwiz
