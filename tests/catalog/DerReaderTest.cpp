// The DER reader against hostile input: every malformed header is refused without reading past
// the bytes given, and the values it decodes are those the writer encoded.
#include <gtest/gtest.h>

#include <limits>

#include "catalog/DerReader.h"

namespace usbwiz {
namespace {

using namespace std::string_literals;

TEST(DerReader, RefusesWhatIsNotOneWholeElement) {
    const std::string cases[] = {
        ""s,
        "\x04"s,                          // no length
        "\x04\x02\x00"s,                  // contents cut short
        "\x30\x80\x00\x00"s,              // indefinite length
        "\x04\x85\x01\x00\x00\x00\x00"s,  // a length of five octets
        "\x04\x82\x01"s,                  // length octets cut short
        "\x1f\x9f\xff\xff\xff\x7f\x00"s,  // a tag number beyond 32 bits
        "\x1f\x81"s,                      // a tag number cut short
    };
    for (const std::string& bytes : cases) {
        EXPECT_FALSE(der::ReadElement(bytes)) << testing::PrintToString(bytes);
        der::Reader reader(bytes);
        EXPECT_FALSE(reader.Next());
        EXPECT_FALSE(reader.Ok());
    }
    EXPECT_FALSE(der::ReadWhole("\x05\x00\x05"s));  // something left over
}

TEST(DerReader, ReadsWhatTheWriterWrites) {
    const std::string big = der::OctetString(std::string(70000, 'x'));
    const std::string tagged = der::Implicit(40, der::Sequence({der::Null()}));
    const std::string sequence = der::Sequence({big, tagged, der::Integer(-129)});

    der::Reader reader(der::ReadWhole(sequence).value());
    EXPECT_EQ(reader.Expect(der::tag::kOctetString)->contents, std::string(70000, 'x'));
    EXPECT_FALSE(reader.Optional(39));
    const std::optional<der::Element> context = reader.Optional(40);
    ASSERT_TRUE(context);
    EXPECT_TRUE(context->constructed);
    EXPECT_EQ(context->contents, der::Null());
    EXPECT_EQ(der::SmallInteger(*reader.Expect(der::tag::kInteger)), -129);
    EXPECT_TRUE(reader.AtEnd());

    der::Reader wrongType(der::ReadWhole(sequence).value());
    EXPECT_FALSE(wrongType.Expect(der::tag::kSequence));
    EXPECT_FALSE(wrongType.Next());
    EXPECT_FALSE(wrongType.Ok());
}

TEST(DerReader, Values) {
    for (const char* oid : {"1.3.6.1.4.1.311.10.1", "2.999.0", "1.2.18446744073709551615", "0.0"})
        EXPECT_EQ(der::ObjectIdentifierText(*der::ReadWhole(der::ObjectIdentifier(oid))), oid);
    // An arc over 64 bits, a padded arc, an arc cut short.
    for (const std::string& bad : {"\x06\x0b\x2a\x82\x80\x80\x80\x80\x80\x80\x80\x80\x00"s,
                                   "\x06\x02\x80\x01"s, "\x06\x01\x81"s})
        EXPECT_FALSE(der::ObjectIdentifierText(*der::ReadWhole(bad)));

    for (const std::int64_t value : {std::int64_t{0}, std::int64_t{-1}, std::int64_t{65537},
                                     std::numeric_limits<std::int64_t>::min()})
        EXPECT_EQ(der::SmallInteger(*der::ReadWhole(der::Integer(value))), value);
    EXPECT_FALSE(
        der::SmallInteger(*der::ReadWhole("\x02\x09\x01\x00\x00\x00\x00\x00\x00\x00\x00"s)));

    for (const std::int64_t seconds : {std::int64_t{0}, std::int64_t{951782400} /* 2000-02-29 */,
                                       std::int64_t{2524607999}, std::int64_t{-631152000}})
        EXPECT_EQ(der::TimeSeconds(*der::ReadWhole(der::UtcTime(seconds))), seconds);
    EXPECT_EQ(der::TimeSeconds(*der::ReadWhole("\x18\x0f"
                                               "20500101000000Z"s)),
              2524608000);
    for (const std::string& bad : {"\x17\x0d"
                                   "990230000000Z"s,
                                   "\x17\x0d"
                                   "9901010000000"s,
                                   "\x17\x0b"
                                   "9901010000Z"s,
                                   "\x17\x0d"
                                   "99010124000"
                                   "0Z"s})
        EXPECT_FALSE(der::TimeSeconds(*der::ReadWhole(bad))) << bad;
}

}  // namespace
}  // namespace usbwiz
