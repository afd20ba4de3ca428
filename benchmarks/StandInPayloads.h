#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "payload/PayloadStore.h"

namespace usbwiz {

// The eighteen payloads at sizes like the real driver and program files (about 10 MB over the
// eighteen ids), filled with fixed pseudo-random bytes. All of them live in one buffer that is
// allocated once, so that a write from the store can be told apart from a write of a copy.
class StandInPayloads final : public PayloadStore {
  public:
    StandInPayloads();

    std::optional<std::string_view> Find(PayloadId id) const override;

    // The sum of the sizes over all eighteen ids (209 and 216 share their bytes).
    std::size_t TotalSize() const;

    // Whether `bytes` points into this store's buffer rather than at a copy of it.
    bool Holds(std::string_view bytes) const;

  private:
    struct Slice {
        PayloadId id;
        std::size_t offset;
        std::size_t size;
    };
    std::string buffer_;
    std::vector<Slice> slices_;
};

}  // namespace usbwiz
