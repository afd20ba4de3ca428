#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace usbwiz {

// The files of a package folder as Windows finds them: by name without regard to case, in the
// folder itself and in the subfolders its INF files name. It remembers what it was asked for, so
// that what no one asked for can be told.
class PackageFolder {
  public:
    // `folder` as this system names it, ending in `separator`.
    PackageFolder(Platform& platform, std::string folder, char separator);

    enum class Found { Yes, Missing, Ambiguous };
    struct Lookup {
        Found found = Found::Missing;
        std::string path;  // as this system names it, when found
        std::string name;  // UTF-8, relative to the folder: as the folder spells it when found,
                           // else as asked, `separator` between levels
    };

    // `relative` is UTF-8, '\' between levels (as INF files write it).
    Lookup Find(std::string_view relative);

    // The names of the folder's own entries that end in `suffix` but for case, UTF-8, sorted.
    std::vector<std::string> NamesEndingIn(std::string_view suffix);

    // What no Find asked for in the folders looked into, as Lookup::name spells it, sorted.
    std::vector<std::string> NotAskedFor();

  private:
    struct Entry {
        std::string native, utf8, upper;
        bool asked = false;
    };
    struct Listing {
        std::string path, name;  // of the folder, native and UTF-8 (empty or ending in separator)
        std::vector<Entry> entries;
    };
    Listing& ListingOf(const std::string& key, const std::string& path, const std::string& name);

    Platform& platform_;
    std::string folder_;
    char separator_;
    std::map<std::string, Listing> listings_;  // by upper-cased relative folder
};

}  // namespace usbwiz
