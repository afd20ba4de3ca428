#include "catalog/DerWriter.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <stdexcept>

#include "catalog/DerReader.h"
#include "catalog/Utf16.h"

namespace usbwiz::der {

namespace {

[[noreturn]] void Refuse(const std::string& what) {
    throw std::invalid_argument("DER: " + what);
}

void AppendBase128(std::string& out, std::uint64_t value) {
    char groups[10];
    int n = 0;
    do {
        groups[n++] = static_cast<char>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (n > 1) out.push_back(static_cast<char>(groups[--n] | 0x80));
    out.push_back(groups[0]);
}

void AppendLength(std::string& out, std::size_t length) {
    if (length < 0x80) {
        out.push_back(static_cast<char>(length));
        return;
    }
    char bytes[sizeof(std::size_t)];
    int n = 0;
    for (; length != 0; length >>= 8) bytes[n++] = static_cast<char>(length & 0xFF);
    out.push_back(static_cast<char>(0x80 | n));
    while (n > 0) out.push_back(bytes[--n]);
}

// `encoding` must be one whole element, so that callers never cut or splice a partial one.
Element WholeEncoding(std::string_view encoding) {
    std::optional<Element> element = ReadWhole(encoding);
    if (!element) Refuse("not one whole encoding");
    return *element;
}

std::string Joined(const std::string_view* first, const std::string_view* last) {
    std::string contents;
    for (; first != last; ++first) contents += *first;
    return contents;
}

}  // namespace

std::string Encode(TagClass tagClass, bool constructed, std::uint32_t number,
                   std::string_view contents) {
    std::string out;
    const auto lead =
        static_cast<char>(static_cast<std::uint8_t>(tagClass) | (constructed ? 0x20 : 0));
    if (number < 0x1F) {
        out.push_back(static_cast<char>(lead | static_cast<char>(number)));
    } else {
        out.push_back(static_cast<char>(lead | 0x1F));
        AppendBase128(out, number);
    }
    AppendLength(out, contents.size());
    out += contents;
    return out;
}

std::string Sequence(std::initializer_list<std::string_view> elements) {
    return Encode(TagClass::Universal, true, 0x10, Joined(elements.begin(), elements.end()));
}

std::string Sequence(const std::vector<std::string>& elements) {
    std::string contents;
    for (const std::string& element : elements) contents += element;
    return Encode(TagClass::Universal, true, 0x10, contents);
}

std::string Set(std::vector<std::string> components) {
    // Canonical order: universal, application, context-specific, private; then by number.
    const auto key = [](const std::string& encoding) {
        const Element id = WholeEncoding(encoding);
        return (static_cast<std::uint64_t>(id.tagClass) << 32) | id.number;
    };
    std::vector<std::pair<std::uint64_t, std::string>> keyed;
    for (std::string& component : components)
        keyed.emplace_back(key(component), std::move(component));
    std::sort(keyed.begin(), keyed.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string contents;
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        if (i > 0 && keyed[i].first == keyed[i - 1].first) Refuse("two SET components share a tag");
        contents += keyed[i].second;
    }
    return Encode(TagClass::Universal, true, 0x11, contents);
}

std::string SetOf(std::vector<std::string> elements) {
    for (const std::string& element : elements) WholeEncoding(element);
    // std::string compares as unsigned octets; an encoding that is a prefix of another sorts
    // first, which is also DER's order (the shorter one counts as padded with zero octets).
    std::sort(elements.begin(), elements.end());
    std::string contents;
    for (const std::string& element : elements) contents += element;
    return Encode(TagClass::Universal, true, 0x11, contents);
}

std::string ObjectIdentifier(std::string_view dotted) {
    std::vector<std::uint64_t> arcs;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = std::min(dotted.find('.', start), dotted.size());
        const std::string_view digits = dotted.substr(start, dot - start);
        if (digits.empty() || (digits.size() > 1 && digits[0] == '0'))
            Refuse("bad OID \"" + std::string(dotted) + "\"");
        std::uint64_t arc = 0;
        for (const char c : digits) {
            const auto digit = static_cast<std::uint64_t>(c - '0');
            if (c < '0' || c > '9' ||
                arc > (std::numeric_limits<std::uint64_t>::max() - digit) / 10)
                Refuse("bad OID \"" + std::string(dotted) + "\"");
            arc = arc * 10 + digit;
        }
        arcs.push_back(arc);
        if (dot == dotted.size()) break;
        start = dot + 1;
    }
    if (arcs.size() < 2 || arcs[0] > 2 || (arcs[0] < 2 && arcs[1] >= 40) ||
        arcs[1] > std::numeric_limits<std::uint64_t>::max() - 80)
        Refuse("bad OID \"" + std::string(dotted) + "\"");
    std::string contents;
    AppendBase128(contents, arcs[0] * 40 + arcs[1]);
    for (std::size_t i = 2; i < arcs.size(); ++i) AppendBase128(contents, arcs[i]);
    return Encode(TagClass::Universal, false, 0x06, contents);
}

std::string Integer(std::int64_t value) {
    // Two's complement, big-endian, without leading octets that only repeat the sign.
    const auto bits = static_cast<std::uint64_t>(value);
    int n = 8;
    while (n > 1) {
        const auto top = static_cast<std::uint8_t>(bits >> (8 * (n - 1)));
        const auto next = static_cast<std::uint8_t>(bits >> (8 * (n - 2)));
        if (!((top == 0x00 && !(next & 0x80)) || (top == 0xFF && (next & 0x80)))) break;
        --n;
    }
    std::string contents;
    for (int i = n - 1; i >= 0; --i) contents.push_back(static_cast<char>(bits >> (8 * i)));
    return Encode(TagClass::Universal, false, 0x02, contents);
}

std::string UnsignedInteger(std::string_view bigEndian) {
    std::size_t first = 0;
    while (first + 1 < bigEndian.size() && bigEndian[first] == 0) ++first;
    std::string contents(bigEndian.substr(first));
    if (contents.empty() || (static_cast<unsigned char>(contents.front()) & 0x80) != 0)
        contents.insert(contents.begin(), '\0');
    return Encode(TagClass::Universal, false, 0x02, contents);
}

std::string Boolean(bool value) {
    return Encode(TagClass::Universal, false, 0x01, std::string(1, value ? '\xFF' : '\0'));
}

std::string Utf8String(std::string_view utf8) {
    Utf16FromUtf8(utf8);  // refuses what is not UTF-8
    return Encode(TagClass::Universal, false, 0x0C, utf8);
}

std::string OctetString(std::string_view bytes) {
    return Encode(TagClass::Universal, false, 0x04, bytes);
}

std::string BitString(std::string_view bytes, unsigned unusedBits) {
    if (unusedBits > 7 || (bytes.empty() && unusedBits != 0)) Refuse("bad count of unused bits");
    if (!bytes.empty() &&
        (static_cast<unsigned char>(bytes.back()) & ((1u << unusedBits) - 1)) != 0)
        Refuse("unused bits of a BIT STRING must be zero");
    std::string contents(1, static_cast<char>(unusedBits));
    contents += bytes;
    return Encode(TagClass::Universal, false, 0x03, contents);
}

std::string Null() {
    return Encode(TagClass::Universal, false, 0x05, {});
}

std::string BmpString(std::string_view utf8) {
    std::string contents;
    for (const char16_t unit : Utf16FromUtf8(utf8)) {
        if (unit >= 0xD800 && unit <= 0xDFFF)
            Refuse("BMPString cannot hold characters beyond U+FFFF");
        contents.push_back(static_cast<char>(unit >> 8));
        contents.push_back(static_cast<char>(unit & 0xFF));
    }
    return Encode(TagClass::Universal, false, 0x1E, contents);
}

std::string UtcTime(std::int64_t secondsSinceEpoch) {
    using namespace std::chrono;
    constexpr std::int64_t kFirst = -631152000;  // 1950-01-01 00:00:00
    constexpr std::int64_t kLast = 2524607999;   // 2049-12-31 23:59:59
    if (secondsSinceEpoch < kFirst || secondsSinceEpoch > kLast)
        Refuse("UTCTime holds 1950 to 2049 only");
    const sys_seconds time{seconds{secondsSinceEpoch}};
    const sys_days day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss<seconds> clock{time - day};
    std::string text;
    for (const long field :
         {static_cast<long>(static_cast<int>(date.year()) % 100),
          static_cast<long>(static_cast<unsigned>(date.month())),
          static_cast<long>(static_cast<unsigned>(date.day())),
          static_cast<long>(clock.hours().count()), static_cast<long>(clock.minutes().count()),
          static_cast<long>(clock.seconds().count())}) {
        text.push_back(static_cast<char>('0' + field / 10));
        text.push_back(static_cast<char>('0' + field % 10));
    }
    text.push_back('Z');
    return Encode(TagClass::Universal, false, 0x17, text);
}

std::string Explicit(std::uint32_t number, std::string_view encoding) {
    WholeEncoding(encoding);
    return Encode(TagClass::ContextSpecific, true, number, encoding);
}

std::string Implicit(std::uint32_t number, std::string_view encoding) {
    const Element element = WholeEncoding(encoding);
    return Encode(TagClass::ContextSpecific, element.constructed, number, element.contents);
}

}  // namespace usbwiz::der
