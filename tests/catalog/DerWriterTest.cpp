// The DER writer where a wrong octet would show: length forms at their boundaries, OID arcs,
// INTEGER sign octets, the order of SET and SET OF, BMPString and UTCTime limits, tagging.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <stdexcept>

#include "catalog/DerWriter.h"

namespace usbwiz {
namespace {

using namespace std::string_literals;

std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const char byte : bytes) {
        if (!hex.empty()) hex += ' ';
        hex += kDigits[static_cast<unsigned char>(byte) >> 4];
        hex += kDigits[static_cast<unsigned char>(byte) & 0x0F];
    }
    return hex;
}

std::string Header(std::size_t contentSize) {
    const std::string encoding = der::OctetString(std::string(contentSize, 'x'));
    return Hex(encoding.substr(0, encoding.size() - contentSize));
}

TEST(DerWriter, LengthsTakeTheShortestForm) {
    const std::pair<std::size_t, const char*> cases[] = {
        {0, "04 00"},
        {127, "04 7f"},
        {128, "04 81 80"},
        {255, "04 81 ff"},
        {256, "04 82 01 00"},
        {65535, "04 82 ff ff"},
        {65536, "04 83 01 00 00"},
        {16777216, "04 84 01 00 00 00"},
    };
    for (const auto& [size, header] : cases) EXPECT_EQ(Header(size), header) << size;
}

TEST(DerWriter, Encodings) {
    const std::pair<std::string, const char*> cases[] = {
        {der::ObjectIdentifier("1.3.6.1.4.1.311.10.1"), "06 09 2b 06 01 04 01 82 37 0a 01"},
        {der::ObjectIdentifier("2.16.840.1.101.3.4.2.1"), "06 09 60 86 48 01 65 03 04 02 01"},
        {der::ObjectIdentifier("1.3.14.3.2.26"), "06 05 2b 0e 03 02 1a"},
        {der::ObjectIdentifier("2.999.0"), "06 03 88 37 00"},
        {der::ObjectIdentifier("1.2.18446744073709551615"),
         "06 0b 2a 81 ff ff ff ff ff ff ff ff 7f"},
        {der::Integer(0), "02 01 00"},
        {der::Integer(127), "02 01 7f"},
        {der::Integer(128), "02 02 00 80"},
        {der::Integer(-128), "02 01 80"},
        {der::Integer(-129), "02 02 ff 7f"},
        {der::Integer(0x10010001), "02 04 10 01 00 01"},
        {der::Integer(std::numeric_limits<std::int64_t>::min()), "02 08 80 00 00 00 00 00 00 00"},
        {der::BitString("\xA0", 5), "03 02 05 a0"},
        {der::BitString("", 0), "03 01 00"},
        {der::Null(), "05 00"},
        {der::BmpString("File"), "1e 08 00 46 00 69 00 6c 00 65"},
        {der::BmpString("\xC3\xBC\xE2\x82\xAC"), "1e 04 00 fc 20 ac"},
        {der::UtcTime(0), "17 0d 37 30 30 31 30 31 30 30 30 30 30 30 5a"},
        {der::UtcTime(-631152000), "17 0d 35 30 30 31 30 31 30 30 30 30 30 30 5a"},
        {der::UtcTime(2524607999), "17 0d 34 39 31 32 33 31 32 33 35 39 35 39 5a"},
        {der::UtcTime(1709164799), "17 0d 32 34 30 32 32 38 32 33 35 39 35 39 5a"},
        {der::Explicit(0, der::Null()), "a0 02 05 00"},
        {der::Explicit(31, der::Null()), "bf 1f 02 05 00"},
        {der::Implicit(0, der::BmpString("")), "80 00"},
        {der::Implicit(2, der::Sequence({})), "a2 00"},
        {der::Implicit(200, der::Null()), "9f 81 48 00"},
        // SET OF: by encodings, whatever the order given; SET: by tags.
        {der::SetOf({"\x04\x01\x02"s, "\x30\x00"s, "\x02\x01\x05"s, "\x04\x00"s}),
         "31 0a 02 01 05 04 00 04 01 02 30 00"},
        {der::SetOf({std::string("\x30\x81\x80") + std::string(128, '\0'),
                     "\x30\x7f" + std::string(127, '\0')})
             .substr(0, 6),
         "31 82 01 04 30 7f"},
        {der::Set({der::Explicit(1, der::Null()), der::Null(), der::Explicit(0, der::Null())}),
         "31 0a 05 00 a0 02 05 00 a1 02 05 00"},
    };
    for (const auto& [encoding, expected] : cases) EXPECT_EQ(Hex(encoding), expected);
}

TEST(DerWriter, RefusesWhatTheTypeCannotHold) {
    const std::pair<const char*, std::function<std::string()>> cases[] = {
        {"empty OID", [] { return der::ObjectIdentifier(""); }},
        {"one arc", [] { return der::ObjectIdentifier("1"); }},
        {"first arc 3", [] { return der::ObjectIdentifier("3.1"); }},
        {"second arc 40 under 1", [] { return der::ObjectIdentifier("1.40"); }},
        {"empty arc", [] { return der::ObjectIdentifier("1..2"); }},
        {"leading zero", [] { return der::ObjectIdentifier("1.02"); }},
        {"trailing dot", [] { return der::ObjectIdentifier("1.2."); }},
        {"letter", [] { return der::ObjectIdentifier("1.2.x"); }},
        {"arc beyond 64 bits", [] { return der::ObjectIdentifier("1.2.18446744073709551616"); }},
        {"character beyond U+FFFF", [] { return der::BmpString("\xF0\x9F\x98\x80"); }},
        {"cut UTF-8", [] { return der::BmpString("\xC3"); }},
        {"overlong UTF-8", [] { return der::BmpString("\xC0\x80"); }},
        {"encoded surrogate", [] { return der::BmpString("\xED\xA0\x80"); }},
        {"2050", [] { return der::UtcTime(2524608000); }},
        {"1949", [] { return der::UtcTime(-631152001); }},
        {"set unused bit", [] { return der::BitString("\xA1", 5); }},
        {"8 unused bits", [] { return der::BitString("\x00"s, 8); }},
        {"cut encoding", [] { return der::Explicit(0, "\x04\x02\x01"); }},
        {"two encodings", [] { return der::Implicit(0, "\x05\x00\x05\x00"s); }},
        {"cut long length", [] { return der::SetOf({"\x04\x82\x01"}); }},
        {"two SET components of one tag",
         [] {
             return der::Set({der::Null(), der::Null()});
         }},
    };
    for (const auto& [what, write] : cases) EXPECT_THROW(write(), std::invalid_argument) << what;
}

}  // namespace
}  // namespace usbwiz
