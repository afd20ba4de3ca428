#include "verify/CatalogReader.h"

#include "catalog/AlgorithmOids.h"
#include "catalog/DerReader.h"
#include "catalog/Utf16.h"

namespace usbwiz {

namespace {

using der::Element;
using der::Reader;

bool IsOid(const std::optional<Element>& element, std::string_view oid) {
    return element && der::ObjectIdentifierText(*element) == oid;
}

bool IsTime(const Element& element) {
    return element.IsUniversal(der::tag::kUtcTime) ||
           element.IsUniversal(der::tag::kGeneralizedTime);
}

// The OID of an AlgorithmIdentifier { algorithm, parameters OPTIONAL }.
std::optional<std::string> AlgorithmOf(const std::optional<Element>& identifier) {
    if (!identifier || !identifier->IsUniversal(der::tag::kSequence)) return std::nullopt;
    Reader fields(*identifier);
    const std::optional<Element> oid = fields.Expect(der::tag::kObjectIdentifier);
    return oid ? der::ObjectIdentifierText(*oid) : std::nullopt;
}

// The first form's tags are the digest's upper-case hex digits in UTF-16LE with a NUL.
std::string DecodedTag(std::string_view tag) {
    std::string_view text = tag;
    if (text.size() >= 2 && text.substr(text.size() - 2) == std::string_view("\0\0", 2))
        text.remove_suffix(2);
    if (text.empty() || text.size() % 4 != 0) return std::string(tag);
    std::string digest;
    for (std::size_t i = 0; i < text.size(); i += 4) {
        int nibbles[2];
        for (int n = 0; n < 2; ++n) {
            const char c = text[i + 2 * n];
            if (text[i + 2 * n + 1] != '\0') return std::string(tag);
            nibbles[n] = c >= '0' && c <= '9'   ? c - '0'
                         : c >= 'A' && c <= 'F' ? c - 'A' + 10
                         : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                : -1;
            if (nibbles[n] < 0) return std::string(tag);
        }
        digest += static_cast<char>(nibbles[0] << 4 | nibbles[1]);
    }
    return digest;
}

// SpcIndirectDataContent { data { type, value }, DigestInfo { algorithm, digest } }.
bool ReadIndirectData(const Element& value, HashAlgorithm algorithm, CatalogEntry& entry) {
    Reader content(value);
    const std::optional<Element> data = content.Expect(der::tag::kSequence);
    const std::optional<Element> digestInfo = content.Expect(der::tag::kSequence);
    if (!content.AtEnd()) return false;
    const std::optional<Element> type = Reader(*data).Expect(der::tag::kObjectIdentifier);
    Reader info(*digestInfo);
    const std::optional<std::string> digestAlgorithm = AlgorithmOf(info.Next());
    const std::optional<Element> digest = info.Expect(der::tag::kOctetString);
    if (!type || !digestAlgorithm || !info.AtEnd()) return false;
    entry.kind = IsOid(type, oid::kPeImageData) ? MemberKind::PeImage : MemberKind::Flat;
    if (*digestAlgorithm == oid::Digest(algorithm)) entry.digest = std::string(digest->contents);
    return true;
}

// CatalogNameValue { name BMPString, flags INTEGER, value OCTET STRING (UTF-16LE, a NUL) }.
bool ReadNameValue(const Element& value, CatalogEntry& entry) {
    Reader fields(value);
    const std::optional<Element> name = fields.Expect(der::tag::kBmpString);
    fields.Expect(der::tag::kInteger);
    const std::optional<Element> text = fields.Expect(der::tag::kOctetString);
    if (!fields.AtEnd()) return false;
    if (name->contents == std::string_view("\0F\0i\0l\0e", 8)) {
        entry.fileName = Utf8FromUtf16Le(text->contents);
        while (!entry.fileName.empty() && entry.fileName.back() == '\0') entry.fileName.pop_back();
    }
    return true;
}

// TrustedSubject { identifier OCTET STRING, attributes SET OF Attribute OPTIONAL }.
std::optional<CatalogEntry> ReadEntry(const Element& subject, HashAlgorithm algorithm) {
    Reader fields(subject);
    const std::optional<Element> tag = fields.Expect(der::tag::kOctetString);
    if (!tag) return std::nullopt;
    CatalogEntry entry;
    entry.tag = DecodedTag(tag->contents);
    if (fields.AtEnd()) return entry;
    const std::optional<Element> attributes = fields.Expect(der::tag::kSet);
    if (!attributes || !fields.AtEnd()) return std::nullopt;
    Reader list(*attributes);
    while (!list.AtEnd()) {
        const std::optional<Element> attribute = list.Expect(der::tag::kSequence);
        if (!attribute) return std::nullopt;
        Reader parts(*attribute);
        const std::optional<Element> type = parts.Expect(der::tag::kObjectIdentifier);
        const std::optional<Element> values = parts.Expect(der::tag::kSet);
        if (!parts.AtEnd()) return std::nullopt;
        const std::optional<Element> value = Reader(*values).Expect(der::tag::kSequence);
        if (IsOid(type, oid::kIndirectData) &&
            !(value && ReadIndirectData(*value, algorithm, entry)))
            return std::nullopt;
        if (IsOid(type, oid::kNameValue) && !(value && ReadNameValue(*value, entry)))
            return std::nullopt;
    }
    return entry;
}

// CertificateTrustList { version INTEGER OPTIONAL, subjectUsage, listIdentifier OCTET STRING
// OPTIONAL, sequenceNumber INTEGER OPTIONAL, thisUpdate, nextUpdate OPTIONAL, subjectAlgorithm,
// trustedSubjects OPTIONAL, [0] extensions OPTIONAL }.
std::string ReadTrustList(const Element& list, ParsedCatalog& catalog) {
    Reader fields(list);
    std::optional<Element> field = fields.Next();
    if (field && field->IsUniversal(der::tag::kInteger)) field = fields.Next();
    if (!field || !field->IsUniversal(der::tag::kSequence)) return "no subject usage";
    bool catalogList = false;
    for (Reader usages(*field); usages.Ok() && !usages.AtEnd();)
        catalogList =
            IsOid(usages.Expect(der::tag::kObjectIdentifier), oid::kCatalogList) || catalogList;
    if (!catalogList) return "a trust list that is not a catalog's";
    field = fields.Next();
    if (field && field->IsUniversal(der::tag::kOctetString)) field = fields.Next();
    if (field && field->IsUniversal(der::tag::kInteger)) field = fields.Next();
    if (!field || !IsTime(*field)) return "no list time";
    field = fields.Next();
    if (field && IsTime(*field)) field = fields.Next();
    const std::optional<std::string> memberList = AlgorithmOf(field);
    if (memberList == oid::kMemberListV1)
        catalog.algorithm = HashAlgorithm::Sha1;
    else if (memberList == oid::kMemberListV2)
        catalog.algorithm = HashAlgorithm::Sha256;
    else
        return "a member list of unknown form";
    if (fields.AtEnd()) return {};
    std::optional<Element> subjects = fields.Next();
    if (subjects && subjects->IsUniversal(der::tag::kSequence)) {
        for (Reader members(*subjects); !members.AtEnd();) {
            const std::optional<Element> subject = members.Expect(der::tag::kSequence);
            std::optional<CatalogEntry> entry =
                subject ? ReadEntry(*subject, catalog.algorithm) : std::nullopt;
            if (!entry)
                return "member " + std::to_string(catalog.entries.size() + 1) + " cannot be read";
            catalog.entries.push_back(std::move(*entry));
        }
        if (fields.AtEnd()) return {};
        subjects = fields.Next();
    }
    if (!subjects || !subjects->IsContext(0) || !fields.AtEnd()) return "unexpected fields";
    return {};
}

// SignerInfo { version, issuerAndSerialNumber, digestAlgorithm, [0] authenticatedAttributes
// OPTIONAL, digestEncryptionAlgorithm, encryptedDigest, [1] unauthenticatedAttributes OPTIONAL }.
std::string ReadSigner(const Element& info, CatalogSignerInfo& signer) {
    Reader fields(info);
    fields.Expect(der::tag::kInteger);
    const std::optional<Element> identifier = fields.Next();
    if (!identifier || !identifier->IsUniversal(der::tag::kSequence))
        return "its signer is named by a key identifier, which this program does not read";
    const std::optional<std::string> digest = AlgorithmOf(fields.Next());
    const std::optional<Element> attributes = fields.Optional(0);
    const std::optional<std::string> signature = AlgorithmOf(fields.Next());
    const std::optional<Element> value = fields.Expect(der::tag::kOctetString);
    fields.Optional(1);
    if (!digest || !signature || !value || !fields.AtEnd()) return "its signer info cannot be read";
    Reader names(*identifier);
    const std::optional<Element> issuer = names.Expect(der::tag::kSequence);
    const std::optional<Element> serial = names.Expect(der::tag::kInteger);
    if (!names.AtEnd()) return "its signer info cannot be read";
    signer = {issuer->encoding, serial->encoding, *digest, {}, {}, {}, *signature, value->contents};
    if (!attributes) return {};
    signer.signedAttributes = attributes->encoding;
    for (Reader list(*attributes); !list.AtEnd();) {
        const std::optional<Element> attribute = list.Expect(der::tag::kSequence);
        if (!attribute) return "its signed attributes cannot be read";
        Reader parts(*attribute);
        const std::optional<Element> type = parts.Expect(der::tag::kObjectIdentifier);
        const std::optional<Element> values = parts.Expect(der::tag::kSet);
        if (!parts.AtEnd()) return "its signed attributes cannot be read";
        const std::optional<Element> first = Reader(*values).Next();
        if (IsOid(type, oid::kContentType) && first)
            signer.contentType = der::ObjectIdentifierText(*first).value_or("");
        if (IsOid(type, oid::kMessageDigest) && first && first->IsUniversal(der::tag::kOctetString))
            signer.messageDigest = first->contents;
    }
    return {};
}

}  // namespace

// ContentInfo { signedData, [0] SignedData { version, digestAlgorithms, ContentInfo {
// certificateTrustList, [0] list }, [0] certificates OPTIONAL, [1] crls OPTIONAL, signerInfos } }.
CatalogReading ParseCatalog(std::string_view bytes) {
    const auto refuse = [](std::string why) {
        return CatalogReading{std::nullopt, std::move(why)};
    };
    const std::optional<Element> whole = der::ReadWhole(bytes);
    if (!whole || !whole->IsUniversal(der::tag::kSequence)) return refuse("not a DER structure");
    Reader outer(*whole);
    const std::optional<Element> type = outer.Expect(der::tag::kObjectIdentifier);
    const std::optional<Element> wrapped = outer.Optional(0);
    if (!IsOid(type, oid::kSignedData) || !wrapped || !outer.AtEnd())
        return refuse("not a PKCS #7 signed-data message");
    const std::optional<Element> signedData = der::ReadWhole(wrapped->contents);
    if (!signedData || !signedData->IsUniversal(der::tag::kSequence))
        return refuse("not a PKCS #7 signed-data message");

    Reader fields(*signedData);
    fields.Expect(der::tag::kInteger);
    fields.Expect(der::tag::kSet);
    const std::optional<Element> content = fields.Expect(der::tag::kSequence);
    const std::optional<Element> certificates = fields.Optional(0);
    fields.Optional(1);
    const std::optional<Element> signers = fields.Expect(der::tag::kSet);
    if (!signers || !fields.AtEnd()) return refuse("not a PKCS #7 signed-data message");

    Reader contentInfo(*content);
    const std::optional<Element> contentType = contentInfo.Expect(der::tag::kObjectIdentifier);
    const std::optional<Element> explicitList = contentInfo.Optional(0);
    const std::optional<Element> list =
        explicitList ? der::ReadWhole(explicitList->contents) : std::nullopt;
    if (!IsOid(contentType, oid::kCertificateTrustList) || !list ||
        !list->IsUniversal(der::tag::kSequence) || !contentInfo.AtEnd())
        return refuse("it holds no certificate trust list");

    ParsedCatalog catalog;
    catalog.trustListContents = list->contents;
    if (std::string why = ReadTrustList(*list, catalog); !why.empty()) return refuse(why);

    if (certificates)
        for (Reader set(*certificates); !set.AtEnd();) {
            const std::optional<Element> certificate = set.Next();
            if (!certificate) break;  // the signer's certificate is then reported missing
            if (certificate->IsUniversal(der::tag::kSequence))
                catalog.certificates.push_back(certificate->encoding);
        }

    Reader signerInfos(*signers);
    if (!signerInfos.AtEnd()) {
        catalog.hasSigner = true;
        const std::optional<Element> first = signerInfos.Expect(der::tag::kSequence);
        CatalogSignerInfo signer;
        catalog.signerError = first ? ReadSigner(*first, signer) : "its signer info cannot be read";
        if (catalog.signerError.empty()) catalog.signer = signer;
    }
    return {std::move(catalog), {}};
}

}  // namespace usbwiz
