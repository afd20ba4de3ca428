#include "catalog/DerReader.h"

#include <chrono>
#include <limits>

namespace usbwiz::der {

namespace {

// A length field of more octets than this would describe more than 4 GiB: no input of ours.
constexpr std::size_t kMaxLengthOctets = 4;

}  // namespace

std::optional<Element> ReadElement(std::string_view input) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(input[i]); };
    if (input.size() < 2) return std::nullopt;
    Element element;
    element.tagClass = static_cast<TagClass>(at(0) & 0xC0);
    element.constructed = (at(0) & 0x20) != 0;
    element.number = at(0) & 0x1Fu;
    std::size_t header = 1;
    if (element.number == 0x1F) {
        std::uint64_t number = 0;
        do {
            if (header >= input.size() || number > (std::numeric_limits<std::uint32_t>::max() >> 7))
                return std::nullopt;
            number = (number << 7) | (at(header) & 0x7F);
        } while (at(header++) & 0x80);
        element.number = static_cast<std::uint32_t>(number);
    }
    if (header >= input.size()) return std::nullopt;
    std::size_t length = at(header++);
    if (length & 0x80) {
        const std::size_t count = length & 0x7F;
        // 0x80 alone is BER's indefinite length, which DER never uses.
        if (count == 0 || count > kMaxLengthOctets || input.size() - header < count)
            return std::nullopt;
        length = 0;
        for (std::size_t i = 0; i < count; ++i) length = (length << 8) | at(header + i);
        header += count;
    }
    if (input.size() - header < length) return std::nullopt;
    element.encoding = input.substr(0, header + length);
    element.contents = input.substr(header, length);
    return element;
}

std::optional<Element> ReadWhole(std::string_view input) {
    std::optional<Element> element = ReadElement(input);
    if (!element || element->encoding.size() != input.size()) return std::nullopt;
    return element;
}

std::optional<Element> Reader::Next() {
    if (!ok_) return std::nullopt;
    std::optional<Element> element = ReadElement(rest_);
    if (!element) {
        ok_ = false;
        return std::nullopt;
    }
    rest_.remove_prefix(element->encoding.size());
    return element;
}

std::optional<Element> Reader::Expect(std::uint32_t tagNumber) {
    std::optional<Element> element = Next();
    if (element && !element->IsUniversal(tagNumber)) {
        ok_ = false;
        return std::nullopt;
    }
    return element;
}

std::optional<Element> Reader::Optional(std::uint32_t tagNumber) {
    if (!ok_) return std::nullopt;
    const std::optional<Element> element = ReadElement(rest_);
    if (!element || !element->IsContext(tagNumber)) return std::nullopt;
    rest_.remove_prefix(element->encoding.size());
    return element;
}

std::optional<std::string> ObjectIdentifierText(const Element& element) {
    const std::string_view octets = element.contents;
    if (!element.IsUniversal(tag::kObjectIdentifier) || octets.empty() ||
        (static_cast<unsigned char>(octets.back()) & 0x80))
        return std::nullopt;
    std::string text;
    std::uint64_t arc = 0;
    bool first = true;
    for (std::size_t i = 0; i < octets.size(); ++i) {
        const auto octet = static_cast<unsigned char>(octets[i]);
        // A leading 0x80 pads an arc, which DER forbids; an arc over 64 bits is no one's.
        if ((arc == 0 && octet == 0x80) || arc > (std::numeric_limits<std::uint64_t>::max() >> 7))
            return std::nullopt;
        arc = (arc << 7) | (octet & 0x7F);
        if (octet & 0x80) continue;
        if (first) {
            // The first octets hold two arcs: 40 * first + second, the first at most 2.
            const std::uint64_t top = arc < 80 ? arc / 40 : 2;
            // Appended piece by piece: "." + std::string trips a false -Wrestrict in mingw's
            // g++ 12.
            text = std::to_string(top);
            text += '.';
            text += std::to_string(arc - 40 * top);
            first = false;
        } else {
            text += '.';
            text += std::to_string(arc);
        }
        arc = 0;
    }
    return text;
}

std::optional<std::int64_t> SmallInteger(const Element& element) {
    const std::string_view octets = element.contents;
    if (!element.IsUniversal(tag::kInteger) || octets.empty() || octets.size() > 8)
        return std::nullopt;
    // Sign-extended from the first octet, then shifted in whole.
    std::uint64_t value = (static_cast<unsigned char>(octets[0]) & 0x80) ? ~std::uint64_t{0} : 0;
    for (const char octet : octets) value = (value << 8) | static_cast<unsigned char>(octet);
    return static_cast<std::int64_t>(value);
}

std::optional<std::int64_t> TimeSeconds(const Element& element) {
    const bool utc = element.IsUniversal(tag::kUtcTime);
    if (!utc && !element.IsUniversal(tag::kGeneralizedTime)) return std::nullopt;
    const std::string_view text = element.contents;
    const std::size_t yearDigits = utc ? 2 : 4;
    if (text.size() != yearDigits + 11 || text.back() != 'Z') return std::nullopt;
    int fields[6] = {};
    std::size_t at = 0;
    for (int i = 0; i < 6; ++i) {
        const std::size_t digits = i == 0 ? yearDigits : 2;
        for (std::size_t d = 0; d < digits; ++d, ++at) {
            if (text[at] < '0' || text[at] > '9') return std::nullopt;
            fields[i] = fields[i] * 10 + (text[at] - '0');
        }
    }
    if (utc) fields[0] += fields[0] < 50 ? 2000 : 1900;
    using namespace std::chrono;
    const year_month_day date{year{fields[0]}, month{static_cast<unsigned>(fields[1])},
                              day{static_cast<unsigned>(fields[2])}};
    if (!date.ok() || fields[3] > 23 || fields[4] > 59 || fields[5] > 59) return std::nullopt;
    const auto time = sys_days{date} + hours{fields[3]} + minutes{fields[4]} + seconds{fields[5]};
    return static_cast<std::int64_t>(time.time_since_epoch().count());
}

}  // namespace usbwiz::der
