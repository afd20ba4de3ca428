#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace usbwiz {

// The time a run's catalogs carry: SOURCE_DATE_EPOCH when it is set, so that two runs of the
// same inputs give the same bytes, else `now`. A value that is not seconds from 1970 to 2049 (a
// catalog's time is a UTCTime) gives nullopt and `error`, one line naming the variable.
std::optional<std::int64_t> CatalogTime(const std::optional<std::string>& sourceDateEpoch,
                                        std::int64_t now, std::string& error);

}  // namespace usbwiz
