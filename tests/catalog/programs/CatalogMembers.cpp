// Reads a catalog back through the Windows API and checks it against what the test expects.
// Usage: CatalogMembers CATALOG sha1|sha256 SECONDS OSATTR ENTRY...
//   ENTRY pe:HEX:NAME or flat:HEX:NAME  a member: its kind, digest and "File" name; together
//                                       these must be all the catalog's members
//   ENTRY file:PATH                     a flat file whose SHA-1, as Windows computes it, the
//                                       catalog must list
// crypt32 decodes the list and wintrust its attributes, for both forms; CryptCATOpen and
// CryptCATEnumerateMember must then report each member as the decoded list has it. Wine 8
// enumerates the first form only (the second lacks the member info it requires): for the
// second, a refusal with CRYPT_E_ATTRIBUTES_MISSING is reported and not held against it.
// Prints one line per finding; exit status 0 when everything matched, 1 when not, 2 on misuse.
#include <windows.h>
// windows.h first: the crypto headers build on it.
#include <mscat.h>
#include <mssip.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

int failures = 0;

void Fail(const std::string& what) {
    std::printf("FAIL %s\n", what.c_str());
    ++failures;
}

std::string Hex(const BYTE* data, DWORD size) {
    std::string hex;
    char two[3];
    for (DWORD i = 0; i < size; ++i) {
        std::snprintf(two, sizeof two, "%02X", data[i]);
        hex += two;
    }
    return hex;
}

std::string Narrow(const WCHAR* text, std::size_t length) {
    std::string narrow;
    for (std::size_t i = 0; i < length; ++i)
        narrow.push_back(text[i] < 0x80 ? static_cast<char>(text[i]) : '?');
    return narrow;
}

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// CryptDecodeObjectEx into memory of its own; nullptr (and a FAIL line) when it refuses.
template <typename T>
T* Decode(LPCSTR type, const CRYPT_DATA_BLOB& blob, const std::string& what) {
    void* decoded = nullptr;
    DWORD size = 0;
    if (!CryptDecodeObjectEx(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, type, blob.pbData,
                             blob.cbData, CRYPT_DECODE_ALLOC_FLAG, nullptr, &decoded, &size)) {
        char text[96];
        std::snprintf(text, sizeof text, " does not decode (0x%08lX)", GetLastError());
        Fail(what + text);
        return nullptr;
    }
    return static_cast<T*>(decoded);
}

// A name-value attribute's text value: UTF-16LE with a terminating NUL.
std::string NameValueText(const CAT_NAMEVALUE& value) {
    const auto* text = reinterpret_cast<const WCHAR*>(value.Value.pbData);
    const std::size_t units = value.Value.cbData / 2;
    if (units == 0 || text[units - 1] != 0) return "<not NUL-terminated>";
    return Narrow(text, units - 1);
}

const char* KindOf(const char* dataType) {
    if (std::string(dataType) == SPC_PE_IMAGE_DATA_OBJID) return "pe";
    if (std::string(dataType) == SPC_CAB_DATA_OBJID) return "flat";  // MakeCat's flat data type
    return "unknown";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: CatalogMembers CATALOG sha1|sha256 SECONDS OSATTR ENTRY...\n");
        return 2;
    }
    const std::string path = argv[1];
    const bool v2 = std::string(argv[2]) == "sha256";
    const long long seconds = std::stoll(argv[3]);
    const std::string osAttribute = argv[4];
    std::set<std::string> expected;  // "kind:HEX:name"
    std::vector<std::string> files;
    for (int i = 5; i < argc; ++i) {
        const std::string entry = argv[i];
        if (entry.rfind("file:", 0) == 0)
            files.push_back(entry.substr(5));
        else
            expected.insert(entry);
    }

    // crypt32: the signed-data wrapper, then the certificate trust list inside it.
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    HCRYPTMSG message =
        CryptMsgOpenToDecode(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0, 0, 0, nullptr, nullptr);
    DWORD size = 0;
    if (bytes.empty() ||
        !CryptMsgUpdate(message, reinterpret_cast<const BYTE*>(bytes.data()),
                        static_cast<DWORD>(bytes.size()), TRUE) ||
        !CryptMsgGetParam(message, CMSG_CONTENT_PARAM, 0, nullptr, &size)) {
        std::printf("FAIL %s is not a PKCS #7 message (0x%08lX)\n", path.c_str(), GetLastError());
        return 1;
    }
    std::vector<BYTE> content(size);
    CryptMsgGetParam(message, CMSG_CONTENT_PARAM, 0, content.data(), &size);
    char innerType[64] = {};
    DWORD innerSize = sizeof innerType;
    CryptMsgGetParam(message, CMSG_INNER_CONTENT_TYPE_PARAM, 0, innerType, &innerSize);
    if (std::string(innerType) != szOID_CTL) Fail(std::string("inner content type ") + innerType);

    const CRYPT_DATA_BLOB ctlBlob{size, content.data()};
    const auto* ctl = Decode<CTL_INFO>(PKCS_CTL, ctlBlob, "the certificate trust list");
    if (ctl == nullptr) return 1;
    if (ctl->SubjectUsage.cUsageIdentifier != 1 ||
        std::string(ctl->SubjectUsage.rgpszUsageIdentifier[0]) != "1.3.6.1.4.1.311.12.1.1")
        Fail("subject usage is not the catalog list");
    if (ctl->ListIdentifier.cbData != 16) Fail("list identifier is not 16 bytes");
    ULARGE_INTEGER time;
    time.LowPart = ctl->ThisUpdate.dwLowDateTime;
    time.HighPart = ctl->ThisUpdate.dwHighDateTime;
    // FILETIME counts 100 ns from 1601; 11644473600 s lie between 1601 and 1970.
    if (time.QuadPart != static_cast<ULONGLONG>(seconds + 11644473600LL) * 10000000ULL)
        Fail("this-update time differs");
    const std::string listForm = v2 ? "1.3.6.1.4.1.311.12.1.3" : "1.3.6.1.4.1.311.12.1.2";
    if (listForm != ctl->SubjectAlgorithm.pszObjId)
        Fail(std::string("member list form ") + ctl->SubjectAlgorithm.pszObjId);
    if (ctl->cExtension != 1 || std::string(ctl->rgExtension[0].pszObjId) != CAT_NAMEVALUE_OBJID)
        Fail("the catalog has not exactly one name-value attribute");
    else if (const auto* os =
                 Decode<CAT_NAMEVALUE>(CAT_NAMEVALUE_STRUCT, ctl->rgExtension[0].Value, "OSAttr")) {
        if (Narrow(os->pwszTag, wcslen(os->pwszTag)) != "OSAttr" ||
            NameValueText(*os) != osAttribute)
            Fail("catalog attribute " + Narrow(os->pwszTag, wcslen(os->pwszTag)) + " = " +
                 NameValueText(*os));
        LocalFree(const_cast<CAT_NAMEVALUE*>(os));
    }

    // wintrust decodes each entry's attributes.
    std::set<std::string> found;
    std::map<std::string, std::string> kindOfDigest;
    std::set<std::string> sha1Tags;  // every tag of 20 bytes: the SHA-1 entries
    for (DWORD i = 0; i < ctl->cCTLEntry; ++i) {
        const CTL_ENTRY& entry = ctl->rgCTLEntry[i];
        const std::string tag = Hex(entry.SubjectIdentifier.pbData, entry.SubjectIdentifier.cbData);
        if (entry.SubjectIdentifier.cbData == 20) sha1Tags.insert(tag);
        std::string kind, digest, name;
        for (DWORD a = 0; a < entry.cAttribute; ++a) {
            const CRYPT_ATTRIBUTE& attribute = entry.rgAttribute[a];
            const std::string oid = attribute.pszObjId;
            if (attribute.cValue != 1)
                Fail("entry " + tag + ": attribute " + oid + " has not one value");
            if (oid == SPC_INDIRECT_DATA_OBJID) {
                if (const auto* data = Decode<SPC_INDIRECT_DATA_CONTENT>(
                        SPC_INDIRECT_DATA_CONTENT_STRUCT, attribute.rgValue[0], "indirect data")) {
                    kind = KindOf(data->Data.pszObjId);
                    digest = Hex(data->Digest.pbData, data->Digest.cbData);
                    const std::string algorithm = data->DigestAlgorithm.pszObjId;
                    if (algorithm != (v2 ? szOID_NIST_sha256 : szOID_OIWSEC_sha1))
                        Fail("entry " + tag + ": digest algorithm " + algorithm);
                    LocalFree(const_cast<SPC_INDIRECT_DATA_CONTENT*>(data));
                }
            } else if (oid == CAT_NAMEVALUE_OBJID) {
                if (const auto* value = Decode<CAT_NAMEVALUE>(CAT_NAMEVALUE_STRUCT,
                                                              attribute.rgValue[0], "name-value")) {
                    if (Narrow(value->pwszTag, wcslen(value->pwszTag)) == "File")
                        name = NameValueText(*value);
                    LocalFree(const_cast<CAT_NAMEVALUE*>(value));
                }
            }
        }
        if (digest.empty()) continue;  // the second form's SHA-1 entry of a member
        std::printf("member %s:%s:%s\n", kind.c_str(), digest.c_str(), name.c_str());
        if (v2 && tag != digest) Fail("entry " + tag + " holds digest " + digest);
        found.insert(kind + ":" + digest + ":" + name);
        kindOfDigest[digest] = kind;
    }
    for (const std::string& e : expected)
        if (!found.count(e)) Fail("missing member " + e);
    for (const std::string& f : found)
        if (!expected.count(f)) Fail("unexpected member " + f);
    if (v2 && sha1Tags.size() != found.size())
        Fail(std::to_string(sha1Tags.size()) + " SHA-1 entries for " +
             std::to_string(found.size()) + " members");

    // wintrust's own reading of the catalog.
    HANDLE catalog =
        CryptCATOpen(const_cast<LPWSTR>(Wide(path).c_str()), CRYPTCAT_OPEN_EXISTING, 0, 0, 0);
    if (catalog == INVALID_HANDLE_VALUE) {
        Fail("CryptCATOpen refuses the catalog");
    } else {
        std::size_t enumerated = 0;
        CRYPTCATMEMBER* member = nullptr;
        while ((member = CryptCATEnumerateMember(catalog, member)) != nullptr) {
            ++enumerated;
            const SIP_INDIRECT_DATA& data = *member->pIndirectData;
            const std::string digest = Hex(data.Digest.pbData, data.Digest.cbData);
            const std::string tag =
                Narrow(member->pwszReferenceTag, wcslen(member->pwszReferenceTag));
            const GUID peSubject = {
                0xC689AAB8, 0x8E78, 0x11D0, {0x8C, 0x47, 0x00, 0xC0, 0x4F, 0xC2, 0x95, 0xEE}};
            const GUID flatSubject = {
                0xDE351A42, 0x8E59, 0x11D0, {0x8C, 0x47, 0x00, 0xC0, 0x4F, 0xC2, 0x95, 0xEE}};
            const bool pe = IsEqualGUID(member->gSubjectType, peSubject);
            std::printf("enumerated %s %s version 0x%lX\n", tag.c_str(), pe ? "pe" : "flat",
                        member->dwCertVersion);
            if (!v2 && tag != digest) Fail("enumerated tag " + tag + " for digest " + digest);
            if (!kindOfDigest.count(digest) || kindOfDigest[digest] != (pe ? "pe" : "flat") ||
                (!pe && !IsEqualGUID(member->gSubjectType, flatSubject)))
                Fail("enumerated member " + digest + " is not a member of that kind");
            if (member->dwCertVersion != 0x200) Fail("enumerated member " + digest + ": version");
        }
        const DWORD error = GetLastError();
        if (v2 && enumerated == 0 && error == static_cast<DWORD>(CRYPT_E_ATTRIBUTES_MISSING))
            std::printf("note: CryptCATEnumerateMember does not enumerate this form (0x%08lX)\n",
                        error);
        else if (enumerated != found.size())
            Fail("CryptCATEnumerateMember gave " + std::to_string(enumerated) + " of " +
                 std::to_string(found.size()) + " members");
        CryptCATClose(catalog);
    }

    // Windows' own hash of each flat file must be listed: under the first form as a member's
    // digest, under the second as a SHA-1 entry.
    for (const std::string& file : files) {
        HANDLE handle = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        BYTE hash[20];
        DWORD hashSize = sizeof hash;
        if (handle == INVALID_HANDLE_VALUE ||
            !CryptCATAdminCalcHashFromFileHandle(handle, &hashSize, hash, 0)) {
            Fail("cannot hash " + file);
        } else {
            const std::string digest = Hex(hash, hashSize);
            const bool listed = v2 ? sha1Tags.count(digest) != 0 : kindOfDigest.count(digest) != 0;
            std::printf("file %s %s %s\n", file.c_str(), digest.c_str(),
                        listed ? "listed" : "not listed");
            if (!listed) Fail("file " + file + " is not in the catalog");
        }
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }

    LocalFree(const_cast<CTL_INFO*>(ctl));
    CryptMsgClose(message);
    std::printf("%s\n", failures == 0 ? "PASS" : "FAILED");
    return failures == 0 ? 0 : 1;
}
