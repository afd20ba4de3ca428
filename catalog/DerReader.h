#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/DerWriter.h"

// The one DER reader of the tree, for input that may be hostile (catalogs and key files a user
// gives us, certificates inside them): every element is checked to lie within the bytes it was
// read from before anything is taken from it, lengths are definite, and nothing is copied.
namespace usbwiz::der {

// Universal tag numbers the readers of this tree look for.
namespace tag {
inline constexpr std::uint32_t kBoolean = 1, kInteger = 2, kBitString = 3, kOctetString = 4,
                               kNull = 5, kObjectIdentifier = 6, kUtf8String = 12, kSequence = 16,
                               kSet = 17, kPrintableString = 19, kIa5String = 22, kUtcTime = 23,
                               kGeneralizedTime = 24, kBmpString = 30;
}

// One element: its identifier, the whole encoding and the contents octets (views into the input).
struct Element {
    TagClass tagClass = TagClass::Universal;
    bool constructed = false;
    std::uint32_t number = 0;
    std::string_view encoding;
    std::string_view contents;

    bool IsUniversal(std::uint32_t tagNumber) const {
        return tagClass == TagClass::Universal && number == tagNumber;
    }
    bool IsContext(std::uint32_t tagNumber) const {
        return tagClass == TagClass::ContextSpecific && number == tagNumber;
    }
};

// The element at the start of `input`; nullopt when `input` does not begin with one whole
// element (an indefinite or overlong length, a tag number beyond 32 bits, too few octets).
std::optional<Element> ReadElement(std::string_view input);

// The element that is all of `input`; nullopt when anything is missing or left over.
std::optional<Element> ReadWhole(std::string_view input);

// Walks the elements of contents octets in order. The first malformed or unexpected element
// stops the walk for good: every later call answers nullopt and Ok() turns false, so a caller
// may read a whole structure and check once at the end.
class Reader {
  public:
    explicit Reader(std::string_view contents) : rest_(contents) {}
    explicit Reader(const Element& constructed) : rest_(constructed.contents) {}

    bool Ok() const { return ok_; }
    bool AtEnd() const { return ok_ && rest_.empty(); }

    // The next element, whatever it is.
    std::optional<Element> Next();
    // The next element, which must be the universal type `tagNumber`.
    std::optional<Element> Expect(std::uint32_t tagNumber);
    // The next element when it is context-specific [tagNumber] (an OPTIONAL field); otherwise
    // nullopt, with nothing taken and the walk still ok.
    std::optional<Element> Optional(std::uint32_t tagNumber);

    // Fails the walk, for a caller that found an element it cannot accept.
    void Fail() { ok_ = false; }

  private:
    std::string_view rest_;
    bool ok_ = true;
};

// Dotted text of an OBJECT IDENTIFIER ("1.2.840.113549.1.7.2"); nullopt when malformed or an
// arc exceeds 64 bits.
std::optional<std::string> ObjectIdentifierText(const Element& element);

// An INTEGER that fits 64 bits.
std::optional<std::int64_t> SmallInteger(const Element& element);

// Seconds since 1970 of a UTCTime (YYMMDDhhmmssZ, years 1950 to 2049) or GeneralizedTime
// (YYYYMMDDhhmmssZ); nullopt for any other form.
std::optional<std::int64_t> TimeSeconds(const Element& element);

}  // namespace usbwiz::der
