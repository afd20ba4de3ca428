#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "catalog/CatalogFile.h"

namespace usbwiz {

// A list identifier that depends on the members alone, for catalogs that must come out the same
// on every build of the same files (MakeCat draws one at random). The first 16 octets of the
// SHA-256 of each member's digest, SHA-1 digest and UTF-8 file name, each preceded by its
// length, members in byte order of their names: so the same files give the same identifier
// whatever order they are listed in, and changing any of them changes it.
std::array<std::uint8_t, 16> ListIdentifierOf(const std::vector<CatalogMember>& members);

}  // namespace usbwiz
