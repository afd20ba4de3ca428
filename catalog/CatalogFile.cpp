#include "catalog/CatalogFile.h"

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>

#include "catalog/AlgorithmOids.h"
#include "catalog/DerWriter.h"
#include "catalog/Utf16.h"

namespace usbwiz {

namespace {

constexpr std::string_view kMemberInfoOid = "1.3.6.1.4.1.311.12.2.2";
constexpr std::string_view kMemberInfo2Oid = "1.3.6.1.4.1.311.12.2.3";
constexpr std::string_view kFlatDataOid = "1.3.6.1.4.1.311.2.1.25";

// Each OID encoded once: a catalog names the same few for every member. One cache per thread,
// as catalogs may be built beside other work.
const std::string& EncodedOid(std::string_view dotted) {
    thread_local std::map<std::string, std::string, std::less<>> encoded;
    auto known = encoded.find(dotted);
    if (known == encoded.end())
        known = encoded.emplace(std::string(dotted), der::ObjectIdentifier(dotted)).first;
    return known->second;
}

// The subject interface packages that verify each kind on Windows, named by member info.
constexpr std::string_view kPeSubjectGuid = "{C689AAB8-8E78-11D0-8C47-00C04FC295EE}";
constexpr std::string_view kFlatSubjectGuid = "{DE351A42-8E59-11D0-8C47-00C04FC295EE}";
constexpr std::int64_t kMemberInfoVersion = 0x200;

// Authenticated, value as text, name as text: what MakeCat writes for text attributes.
constexpr std::int64_t kTextAttributeFlags = 0x10010001;

// SpcPeImageData flags "includeResources, includeImportAddressTable": bits 0 and 2 of three.
constexpr char kPeImageFlags[] = {static_cast<char>(0xA0)};
constexpr unsigned kPeImageFlagsUnusedBits = 5;

// The first form names the link of flat and PE data "<<<Obsolete>>>"; the second leaves it
// empty.
constexpr std::string_view kObsoleteLinkV1 = "<<<Obsolete>>>";

struct Entry {
    std::string tag;
    std::vector<std::string> attributes;
    MemberKind kind;
    const std::string* fileName;
};

bool IsV2(const CatalogContents& contents) {
    return contents.algorithm == HashAlgorithm::Sha256;
}

std::string Attribute(std::string_view oid, std::string value) {
    return der::Sequence({EncodedOid(oid), der::SetOf({std::move(value)})});
}

// UTF-16LE with a terminating NUL, as name-value texts and the first form's tags are stored.
std::string Utf16LeWithNul(std::string_view utf8) {
    std::string bytes;
    for (const char16_t unit : Utf16FromUtf8(utf8)) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    bytes.append(2, '\0');
    return bytes;
}

std::string NameValue(std::string_view name, std::string_view value) {
    return der::Sequence({der::BmpString(name), der::Integer(kTextAttributeFlags),
                          der::OctetString(Utf16LeWithNul(value))});
}

std::string UpperHex(std::string_view bytes) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char byte : bytes) {
        hex.push_back(kDigits[static_cast<unsigned char>(byte) >> 4]);
        hex.push_back(kDigits[static_cast<unsigned char>(byte) & 0x0F]);
    }
    return hex;
}

std::string IndirectData(const CatalogContents& contents, MemberKind kind,
                         std::string_view digest) {
    const std::string link =
        der::Explicit(2, der::Implicit(0, der::BmpString(IsV2(contents) ? "" : kObsoleteLinkV1)));
    const std::string data =
        kind == MemberKind::PeImage
            ? der::Sequence(
                  {EncodedOid(oid::kPeImageData),
                   der::Sequence({der::BitString({kPeImageFlags, 1}, kPeImageFlagsUnusedBits),
                                  der::Explicit(0, link)})})
            : der::Sequence({EncodedOid(kFlatDataOid), link});
    const std::string algorithm = der::Sequence(
        {EncodedOid(oid::Digest(IsV2(contents) ? HashAlgorithm::Sha256 : HashAlgorithm::Sha1)),
         der::Null()});
    return der::Sequence({data, der::Sequence({algorithm, der::OctetString(digest)})});
}

// MakeCat's second form marks the kind by an empty context tag, [0] for PE images and [2] for
// flat files, without saying more about it.
std::string MemberInfo2(MemberKind kind) {
    return der::Encode(der::TagClass::ContextSpecific, false, kind == MemberKind::PeImage ? 0 : 2,
                       {});
}

void CheckDigest(const CatalogMember& member, std::string_view digest, HashAlgorithm algorithm,
                 const char* which) {
    if (digest.size() != DigestSize(algorithm))
        throw std::invalid_argument("catalog member " + member.fileName + ": the " + which +
                                    " digest has " + std::to_string(digest.size()) + " bytes");
}

std::vector<Entry> Entries(const CatalogContents& contents) {
    std::vector<Entry> entries;
    std::set<std::string_view> names;
    for (const CatalogMember& member : contents.members) {
        if (!names.insert(member.fileName).second)
            throw std::invalid_argument("catalog member " + member.fileName + " is listed twice");
        const MemberDigests& d = member.digests;
        CheckDigest(member, d.digest, contents.algorithm, "catalog's");
        if (!IsV2(contents)) {
            if (!d.sha1.empty())
                throw std::invalid_argument("catalog member " + member.fileName +
                                            ": a SHA-1 catalog takes no second digest");
            const std::string guid(d.kind == MemberKind::PeImage ? kPeSubjectGuid
                                                                 : kFlatSubjectGuid);
            entries.push_back(
                {Utf16LeWithNul(UpperHex(d.digest)),
                 {Attribute(oid::kIndirectData, IndirectData(contents, d.kind, d.digest)),
                  Attribute(kMemberInfoOid, der::Sequence({der::BmpString(guid),
                                                           der::Integer(kMemberInfoVersion)})),
                  Attribute(oid::kNameValue, NameValue("File", member.fileName))},
                 d.kind,
                 &member.fileName});
            continue;
        }
        CheckDigest(member, d.sha1, HashAlgorithm::Sha1, "SHA-1");
        entries.push_back(
            {d.digest,
             {Attribute(kMemberInfo2Oid, MemberInfo2(d.kind)),
              Attribute(oid::kNameValue, NameValue("File", member.fileName)),
              Attribute(oid::kIndirectData, IndirectData(contents, d.kind, d.digest))},
             d.kind,
             &member.fileName});
        entries.push_back(
            {d.sha1, {Attribute(kMemberInfo2Oid, MemberInfo2(d.kind))}, d.kind, &member.fileName});
    }

    // MakeCat sorts by tag octets. Of entries with one tag (files with the same contents), the
    // one of the first name stays; they would otherwise list a digest twice.
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.tag != b.tag ? a.tag < b.tag : *a.fileName < *b.fileName;
    });
    std::vector<Entry> unique;
    for (Entry& entry : entries) {
        if (!unique.empty() && unique.back().tag == entry.tag) {
            if (unique.back().kind != entry.kind)
                throw std::invalid_argument("catalog members " + *unique.back().fileName + " and " +
                                            *entry.fileName +
                                            " have one digest but not the same kind");
            continue;
        }
        unique.push_back(std::move(entry));
    }
    return unique;
}

}  // namespace

std::string BuildTrustList(const CatalogContents& contents) {
    if (contents.members.empty()) throw std::invalid_argument("a catalog needs a member");

    std::vector<std::string> subjects;
    for (Entry& entry : Entries(contents))
        subjects.push_back(
            der::Sequence({der::OctetString(entry.tag), der::SetOf(std::move(entry.attributes))}));

    std::vector<std::string> list = {
        der::Sequence({EncodedOid(oid::kCatalogList)}),
        der::OctetString({reinterpret_cast<const char*>(contents.listIdentifier.data()),
                          contents.listIdentifier.size()}),
        der::UtcTime(contents.creationTime),
        der::Sequence(
            {EncodedOid(IsV2(contents) ? oid::kMemberListV2 : oid::kMemberListV1), der::Null()}),
        der::Sequence(subjects),
    };
    if (!contents.osAttribute.empty()) {
        const std::string osAttribute =
            der::Sequence({EncodedOid(oid::kNameValue),
                           der::OctetString(NameValue("OSAttr", contents.osAttribute))});
        list.push_back(der::Explicit(0, der::Sequence({osAttribute})));
    }
    return der::Sequence(list);
}

std::string CatalogSignedData(std::string_view trustList, std::vector<std::string> digestAlgorithms,
                              std::vector<std::string> certificates,
                              std::vector<std::string> signerInfos) {
    // The list is embedded as it is, not inside an OCTET STRING, as PKCS #7 does for content
    // other than data; certificates are a [0] IMPLICIT SET OF, left out when there are none.
    std::vector<std::string> fields = {
        der::Integer(1), der::SetOf(std::move(digestAlgorithms)),
        der::Sequence({EncodedOid(oid::kCertificateTrustList), der::Explicit(0, trustList)})};
    if (!certificates.empty())
        fields.push_back(der::Implicit(0, der::SetOf(std::move(certificates))));
    fields.push_back(der::SetOf(std::move(signerInfos)));
    return der::Sequence({EncodedOid(oid::kSignedData), der::Explicit(0, der::Sequence(fields))});
}

std::string BuildCatalogFile(const CatalogContents& contents) {
    // Unsigned: no digest algorithms, certificates or signers.
    return CatalogSignedData(BuildTrustList(contents), {}, {}, {});
}

}  // namespace usbwiz
