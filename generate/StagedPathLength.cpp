#include "generate/StagedPathLength.h"

#include "platform/Platform.h"
#include "settings/FolderRules.h"

namespace usbwiz {

std::optional<std::string> FindTooLongStagedPath(std::string_view fullFolder,
                                                 std::vector<std::string> names, char separator,
                                                 unsigned codePage) {
    names.emplace_back(kTemporaryNameForm);
    return FindTooLongPath(fullFolder, names, separator, codePage);
}

}  // namespace usbwiz
