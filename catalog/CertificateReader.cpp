#include "catalog/CertificateReader.h"

#include <algorithm>

#include "catalog/AlgorithmOids.h"
#include "catalog/DerReader.h"

namespace usbwiz {

namespace {

constexpr std::string_view kCommonName = "2.5.4.3";
constexpr std::string_view kBasicConstraints = "2.5.29.19";
constexpr std::string_view kKeyUsage = "2.5.29.15";
constexpr std::string_view kExtendedKeyUsage = "2.5.29.37";
constexpr std::string_view kCodeSigning = "1.3.6.1.5.5.7.3.3";
constexpr std::string_view kAnyPurpose = "2.5.29.37.0";

struct Curve {
    std::string_view oid;
    PublicKeyKind kind;
    unsigned bits;
};
constexpr Curve kCurves[] = {
    {oid::kCurveP256, PublicKeyKind::EcP256, 256},
    {oid::kCurveP384, PublicKeyKind::EcP384, 384},
    {oid::kCurveP521, PublicKeyKind::EcP521, 521},
};

// The octets of a BIT STRING whose bits are all used (keys and signatures).
std::optional<std::string_view> WholeOctets(const der::Element& bits) {
    if (!bits.IsUniversal(der::tag::kBitString) || bits.contents.empty() || bits.contents[0] != 0)
        return std::nullopt;
    return bits.contents.substr(1);
}

// The significant bits of an unsigned big-endian magnitude.
unsigned BitLength(std::string_view magnitude) {
    const std::size_t first = magnitude.find_first_not_of('\0');
    if (first == std::string_view::npos) return 0;
    unsigned bits = static_cast<unsigned>(magnitude.size() - first) * 8;
    for (auto top = static_cast<unsigned char>(magnitude[first]); (top & 0x80) == 0; top <<= 1)
        --bits;
    return bits;
}

// SubjectPublicKeyInfo { AlgorithmIdentifier { algorithm, parameters }, subjectPublicKey }.
bool ReadPublicKey(const der::Element& info, ParsedCertificate& certificate) {
    der::Reader fields(info);
    const std::optional<der::Element> algorithm = fields.Expect(der::tag::kSequence);
    const std::optional<der::Element> key = fields.Expect(der::tag::kBitString);
    if (!fields.AtEnd()) return false;
    der::Reader identifier(*algorithm);
    const std::optional<der::Element> oid = identifier.Expect(der::tag::kObjectIdentifier);
    const std::optional<der::Element> parameters = identifier.Next();
    const std::optional<std::string> name = oid ? der::ObjectIdentifierText(*oid) : std::nullopt;
    const std::optional<std::string_view> octets = WholeOctets(*key);
    if (!name || !octets) return false;
    if (*name == oid::kRsaEncryption) {
        // RSAPublicKey { modulus, publicExponent }
        const std::optional<der::Element> rsa = der::ReadWhole(*octets);
        if (!rsa) return false;
        der::Reader numbers(*rsa);
        const std::optional<der::Element> modulus = numbers.Expect(der::tag::kInteger);
        numbers.Expect(der::tag::kInteger);
        if (!numbers.AtEnd()) return false;
        certificate.keyKind = PublicKeyKind::Rsa;
        certificate.keyBits = BitLength(modulus->contents);
    } else if (*name == oid::kEcPublicKey && parameters) {
        const std::optional<std::string> curve = der::ObjectIdentifierText(*parameters);
        for (const Curve& known : kCurves)
            if (curve == known.oid) {
                certificate.keyKind = known.kind;
                certificate.keyBits = known.bits;
            }
    }
    return true;
}

// The first bits of a keyUsage BIT STRING, bit 0 first.
std::optional<std::uint16_t> KeyUsageBits(const der::Element& bits) {
    if (!bits.IsUniversal(der::tag::kBitString) || bits.contents.empty()) return std::nullopt;
    std::uint16_t usage = 0;
    for (std::size_t octet = 1; octet < bits.contents.size() && octet <= 2; ++octet)
        for (unsigned bit = 0; bit < 8; ++bit)
            if (static_cast<unsigned char>(bits.contents[octet]) & (0x80u >> bit))
                usage |= static_cast<std::uint16_t>(1u << ((octet - 1) * 8 + bit));
    return usage;
}

// Extension { extnID, critical BOOLEAN DEFAULT FALSE, extnValue OCTET STRING }.
bool ReadExtension(const der::Element& extension, ParsedCertificate& certificate) {
    der::Reader fields(extension);
    const std::optional<der::Element> id = fields.Expect(der::tag::kObjectIdentifier);
    std::optional<der::Element> value = fields.Next();
    if (value && value->IsUniversal(der::tag::kBoolean)) value = fields.Next();
    if (!fields.AtEnd() || !value || !value->IsUniversal(der::tag::kOctetString)) return false;
    const std::optional<std::string> oid = der::ObjectIdentifierText(*id);
    const std::optional<der::Element> inner = der::ReadWhole(value->contents);
    if (!oid || !inner) return false;
    if (*oid == kBasicConstraints) {
        der::Reader constraints(*inner);
        const std::optional<der::Element> ca = constraints.Next();
        certificate.certificateAuthority = ca && ca->IsUniversal(der::tag::kBoolean) &&
                                           ca->contents.size() == 1 && ca->contents[0] != 0;
    } else if (*oid == kKeyUsage) {
        certificate.keyUsage = KeyUsageBits(*inner);
        if (!certificate.keyUsage) return false;
    } else if (*oid == kExtendedKeyUsage) {
        std::vector<std::string> purposes;
        der::Reader list(*inner);
        while (!list.AtEnd()) {
            const std::optional<der::Element> purpose = list.Expect(der::tag::kObjectIdentifier);
            const std::optional<std::string> text =
                purpose ? der::ObjectIdentifierText(*purpose) : std::nullopt;
            if (!text) return false;
            purposes.push_back(*text);
        }
        certificate.extendedKeyUsage = std::move(purposes);
    }
    return true;
}

// UTF-8 of a directory string: UTF8String, PrintableString and IA5String as they are,
// BMPString from UTF-16 (characters beyond the BMP do not occur in names we show).
std::string DirectoryText(const der::Element& value) {
    if (value.IsUniversal(der::tag::kBmpString)) {
        std::string text;
        for (std::size_t i = 0; i + 1 < value.contents.size(); i += 2) {
            const unsigned unit = (static_cast<unsigned char>(value.contents[i]) << 8) |
                                  static_cast<unsigned char>(value.contents[i + 1]);
            if (unit < 0x80) {
                text += static_cast<char>(unit);
            } else if (unit < 0x800) {
                text += static_cast<char>(0xC0 | (unit >> 6));
                text += static_cast<char>(0x80 | (unit & 0x3F));
            } else {
                text += static_cast<char>(0xE0 | (unit >> 12));
                text += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
                text += static_cast<char>(0x80 | (unit & 0x3F));
            }
        }
        return text;
    }
    return std::string(value.contents);
}

}  // namespace

bool ParsedCertificate::AllowsCodeSigning() const {
    if (!extendedKeyUsage) return true;
    return std::any_of(
        extendedKeyUsage->begin(), extendedKeyUsage->end(),
        [](const std::string& oid) { return oid == kCodeSigning || oid == kAnyPurpose; });
}

std::string CommonNameOf(std::string_view name) {
    const std::optional<der::Element> sequence = der::ReadWhole(name);
    if (!sequence || !sequence->IsUniversal(der::tag::kSequence)) return {};
    der::Reader names(*sequence);
    while (const std::optional<der::Element> relative = names.Expect(der::tag::kSet)) {
        der::Reader attributes(*relative);
        while (const std::optional<der::Element> attribute =
                   attributes.Expect(der::tag::kSequence)) {
            der::Reader pair(*attribute);
            const std::optional<der::Element> type = pair.Expect(der::tag::kObjectIdentifier);
            const std::optional<der::Element> value = pair.Next();
            if (value && der::ObjectIdentifierText(*type) == kCommonName)
                return DirectoryText(*value);
        }
    }
    return {};
}

// Certificate { tbsCertificate, signatureAlgorithm, signatureValue }; TBSCertificate {
// [0] version, serialNumber, signature, issuer, validity, subject, subjectPublicKeyInfo,
// [1] issuerUniqueID, [2] subjectUniqueID, [3] extensions }.
std::optional<ParsedCertificate> ParseCertificate(std::string_view der) {
    const std::optional<der::Element> whole = der::ReadWhole(der);
    if (!whole || !whole->IsUniversal(der::tag::kSequence)) return std::nullopt;
    ParsedCertificate certificate;
    certificate.der = whole->encoding;

    der::Reader outer(*whole);
    const std::optional<der::Element> tbs = outer.Expect(der::tag::kSequence);
    const std::optional<der::Element> algorithm = outer.Expect(der::tag::kSequence);
    const std::optional<der::Element> signature = outer.Expect(der::tag::kBitString);
    if (!outer.AtEnd()) return std::nullopt;
    certificate.toBeSigned = tbs->encoding;
    const std::optional<der::Element> algorithmOid =
        der::Reader(*algorithm).Expect(der::tag::kObjectIdentifier);
    const std::optional<std::string> algorithmName =
        algorithmOid ? der::ObjectIdentifierText(*algorithmOid) : std::nullopt;
    const std::optional<std::string_view> signatureOctets = WholeOctets(*signature);
    if (!algorithmName || !signatureOctets) return std::nullopt;
    certificate.signatureAlgorithm = *algorithmName;
    certificate.signature = *signatureOctets;

    der::Reader fields(*tbs);
    fields.Optional(0);  // version
    const std::optional<der::Element> serial = fields.Expect(der::tag::kInteger);
    fields.Expect(der::tag::kSequence);  // the signature algorithm again
    const std::optional<der::Element> issuer = fields.Expect(der::tag::kSequence);
    const std::optional<der::Element> validity = fields.Expect(der::tag::kSequence);
    const std::optional<der::Element> subject = fields.Expect(der::tag::kSequence);
    const std::optional<der::Element> publicKey = fields.Expect(der::tag::kSequence);
    fields.Optional(1);
    fields.Optional(2);
    const std::optional<der::Element> extensions = fields.Optional(3);
    if (!fields.AtEnd()) return std::nullopt;
    certificate.serialNumber = serial->encoding;
    certificate.issuer = issuer->encoding;
    certificate.subject = subject->encoding;
    certificate.publicKeyInfo = publicKey->encoding;
    certificate.commonName = CommonNameOf(subject->encoding);

    der::Reader times(*validity);
    const std::optional<der::Element> notBefore = times.Next();
    const std::optional<der::Element> notAfter = times.Next();
    if (!times.AtEnd()) return std::nullopt;
    const std::optional<std::int64_t> from = der::TimeSeconds(*notBefore);
    const std::optional<std::int64_t> until = der::TimeSeconds(*notAfter);
    if (!from || !until || !ReadPublicKey(*publicKey, certificate)) return std::nullopt;
    certificate.notBefore = *from;
    certificate.notAfter = *until;

    if (extensions) {
        const std::optional<der::Element> list = der::ReadWhole(extensions->contents);
        if (!list || !list->IsUniversal(der::tag::kSequence)) return std::nullopt;
        der::Reader entries(*list);
        while (!entries.AtEnd()) {
            const std::optional<der::Element> extension = entries.Expect(der::tag::kSequence);
            if (!extension || !ReadExtension(*extension, certificate)) return std::nullopt;
        }
    }
    return certificate;
}

}  // namespace usbwiz
