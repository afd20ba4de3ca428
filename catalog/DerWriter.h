#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// A small DER writer for the structures of catalog files. Every function returns one complete
// encoding (identifier, definite length, contents), so nesting is plain composition:
//   der::Sequence({der::ObjectIdentifier("1.2.3"), der::Null()})
// Input a type cannot hold (a malformed OID, a time UTCTime cannot say, text outside the BMP,
// an argument that is not one whole encoding) throws std::invalid_argument.
namespace usbwiz::der {

enum class TagClass : std::uint8_t {
    Universal = 0x00,
    Application = 0x40,
    ContextSpecific = 0x80,
    Private = 0xC0,
};

// Identifier octets (any tag number), the length in its shortest form, then `contents`.
std::string Encode(TagClass tagClass, bool constructed, std::uint32_t number,
                   std::string_view contents);

// The elements in the order given.
std::string Sequence(std::initializer_list<std::string_view> elements);
std::string Sequence(const std::vector<std::string>& elements);

// A SET of components of distinct tags, put in the canonical order of their tags.
std::string Set(std::vector<std::string> components);

// A SET OF, its elements in ascending order of their encodings as DER requires.
std::string SetOf(std::vector<std::string> elements);

// From dotted text such as "1.3.6.1.4.1.311.10.1".
std::string ObjectIdentifier(std::string_view dotted);

std::string Integer(std::int64_t value);
// A non-negative INTEGER from its big-endian magnitude (a serial number).
std::string UnsignedInteger(std::string_view bigEndian);
std::string Boolean(bool value);
std::string OctetString(std::string_view bytes);

// `bytes` with the last `unusedBits` (0 to 7) bits unused; those bits must be zero.
std::string BitString(std::string_view bytes, unsigned unusedBits);

std::string Null();

// UTF-8 text as it is (it must be UTF-8).
std::string Utf8String(std::string_view utf8);

// Big-endian UTF-16 of UTF-8 text; characters beyond U+FFFF are refused.
std::string BmpString(std::string_view utf8);

// "YYMMDDhhmmssZ" for a time from 1950 to 2049, the years UTCTime can name.
std::string UtcTime(std::int64_t secondsSinceEpoch);

// [number] EXPLICIT: `encoding` wrapped in a constructed context-specific tag.
std::string Explicit(std::uint32_t number, std::string_view encoding);

// [number] IMPLICIT: `encoding` with its tag replaced by a context-specific one (constructed
// stays as it was).
std::string Implicit(std::uint32_t number, std::string_view encoding);

}  // namespace usbwiz::der
