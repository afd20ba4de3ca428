#include "generate/CatalogTime.h"

#include <charconv>
#include <string_view>

#include "settings/Utf8.h"

namespace usbwiz {

std::optional<std::int64_t> CatalogTime(const std::optional<std::string>& sourceDateEpoch,
                                        std::int64_t now, std::string& error) {
    if (!sourceDateEpoch) return now;
    std::int64_t seconds = 0;
    const std::string_view text(*sourceDateEpoch);
    const auto [end, failed] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (failed != std::errc() || end != text.data() + text.size() || seconds < 0 ||
        seconds >= 2524608000) {
        error =
            "SOURCE_DATE_EPOCH: expected seconds from 1970 to 2049, not '" + Printable(text) + "'";
        return std::nullopt;
    }
    return seconds;
}

}  // namespace usbwiz
