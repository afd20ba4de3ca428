#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace usbwiz {

// Why the folder whose full path is `fullFolder` cannot take the files `names` (bare names) that
// a run stages there: each is first written under a temporary name (kTemporaryNameForm) beside
// its final one, and the longest of all those paths must stay within Windows' limit
// (FindTooLongPath, whose message it answers). nullopt when every path fits. `separator` and
// `codePage` as FindTooLongPath takes them.
std::optional<std::string> FindTooLongStagedPath(std::string_view fullFolder,
                                                 std::vector<std::string> names, char separator,
                                                 unsigned codePage);

}  // namespace usbwiz
