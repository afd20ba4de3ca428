#include "verify/PackageFolder.h"

#include <algorithm>

#include "platform/TextEncoding.h"
#include "verify/WindowsNameCase.h"

namespace usbwiz {

PackageFolder::PackageFolder(Platform& platform, std::string folder, char separator)
    : platform_(platform), folder_(std::move(folder)), separator_(separator) {}

PackageFolder::Listing& PackageFolder::ListingOf(const std::string& key, const std::string& path,
                                                 const std::string& name) {
    const auto known = listings_.find(key);
    if (known != listings_.end()) return known->second;
    Listing& listing = listings_[key];
    listing.path = path;
    listing.name = name;
    for (std::string& native : platform_.FolderEntries(path)) {
        std::string utf8 = Utf8FromNativePath(native).value_or(native);
        std::string upper = UpperCaseName(utf8);
        listing.entries.push_back({std::move(native), std::move(utf8), std::move(upper)});
    }
    return listing;
}

PackageFolder::Lookup PackageFolder::Find(std::string_view relative) {
    std::vector<std::string_view> levels;
    for (std::size_t start = 0; start <= relative.size();) {
        const std::size_t end = std::min(relative.find('\\', start), relative.size());
        levels.push_back(relative.substr(start, end - start));
        start = end + 1;
    }
    Lookup lookup;
    std::string key, path = folder_, name;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        Listing& listing = ListingOf(key, path, name);
        const std::string wanted = UpperCaseName(levels[i]);
        Entry* match = nullptr;
        int matches = 0;
        for (Entry& entry : listing.entries)
            if (entry.upper == wanted) {
                match = &entry;
                ++matches;
            }
        const bool last = i + 1 == levels.size();
        if (matches != 1) {
            // Each of two names alike but for case is the one asked for as much as the other.
            for (Entry& entry : listing.entries)
                if (entry.upper == wanted) entry.asked = true;
            lookup.found = matches == 0 ? Found::Missing : Found::Ambiguous;
            lookup.name = name + std::string(levels[i]);
            for (std::size_t rest = i + 1; rest < levels.size(); ++rest)
                (lookup.name += separator_) += levels[rest];
            return lookup;
        }
        match->asked = true;
        key += wanted + '\\';
        path += match->native;
        name += match->utf8;
        if (!last) {
            path += separator_;
            name += separator_;
        }
    }
    return {Found::Yes, path, name};
}

std::vector<std::string> PackageFolder::NamesEndingIn(std::string_view suffix) {
    const std::string upper = UpperCaseName(suffix);
    std::vector<std::string> names;
    for (const Entry& entry : ListingOf("", folder_, "").entries)
        if (entry.upper.size() > upper.size() && entry.upper.ends_with(upper))
            names.push_back(entry.utf8);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> PackageFolder::NotAskedFor() {
    std::vector<std::string> names;
    for (const auto& [key, listing] : listings_)
        for (const Entry& entry : listing.entries)
            if (!entry.asked) names.push_back(listing.name + entry.utf8);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace usbwiz
