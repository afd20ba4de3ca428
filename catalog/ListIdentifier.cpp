#include "catalog/ListIdentifier.h"

#include <algorithm>
#include <cstring>

namespace usbwiz {

namespace {

void UpdateWithLength(Hasher& hasher, std::string_view field) {
    char length[8];
    for (int i = 0; i < 8; ++i)
        length[i] = static_cast<char>(static_cast<std::uint64_t>(field.size()) >> (56 - 8 * i));
    hasher.Update({length, sizeof length});
    hasher.Update(field);
}

}  // namespace

std::array<std::uint8_t, 16> ListIdentifierOf(const std::vector<CatalogMember>& members) {
    std::vector<const CatalogMember*> sorted;
    for (const CatalogMember& member : members) sorted.push_back(&member);
    std::sort(sorted.begin(), sorted.end(), [](const CatalogMember* a, const CatalogMember* b) {
        return a->fileName < b->fileName;
    });
    Hasher hasher(HashAlgorithm::Sha256);
    for (const CatalogMember* member : sorted) {
        UpdateWithLength(hasher, member->digests.digest);
        UpdateWithLength(hasher, member->digests.sha1);
        UpdateWithLength(hasher, member->fileName);
    }
    const std::string digest = hasher.Finish();
    std::array<std::uint8_t, 16> identifier{};
    std::memcpy(identifier.data(), digest.data(), identifier.size());
    return identifier;
}

}  // namespace usbwiz
