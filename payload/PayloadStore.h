#pragma once

#include <optional>
#include <string_view>

namespace usbwiz {

using PayloadId = int;

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
