#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace usbwiz {

// One block of a PEM file (RFC 7468): its label ("CERTIFICATE", "PRIVATE KEY"), the header
// lines of the older form (RFC 1421's "Proc-Type: 4,ENCRYPTED" of traditional encrypted keys)
// and the bytes its base64 holds.
struct PemBlock {
    std::string label;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string bytes;

    // The value of the header `name`; empty when the block has none.
    std::string_view Header(std::string_view name) const;
};

// The blocks of `text` in order; text around them is ignored. nullopt when a block has no end
// line or its base64 does not decode.
std::optional<std::vector<PemBlock>> ReadPemBlocks(std::string_view text);

}  // namespace usbwiz
