#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace usbwiz {

using PayloadId = int;

// The eighteen files the package carries, by the id they are embedded under.
inline constexpr std::array<PayloadId, 18> kPayloadIds{145, 147, 148, 149, 150, 151, 152, 153, 154,
                                                       155, 202, 208, 209, 216, 217, 218, 219, 220};

// Id to bytes, fixed when the program is built. The bytes stay owned by the store (on Windows
// they point into the program's mapped image), so extraction writes them without a copy.
class PayloadStore {
  public:
    virtual ~PayloadStore() = default;
    virtual std::optional<std::string_view> Find(PayloadId id) const = 0;
};

// The store this program was built with.
const PayloadStore& EmbeddedPayloads();

}  // namespace usbwiz
