// Reads a catalog's members back through the Windows API and checks them against the test's.
// Usage: CatalogMembers CATALOG sha1|sha256 ENTRY...
//   ENTRY pe:HEX:NAME or flat:HEX:NAME  a member: its kind, digest and "File" name; together
//                                       these must be all the catalog's members
//   ENTRY file:PATH                     a flat file whose SHA-1, as Windows computes it, the
//                                       catalog must list
// crypt32 decodes the list and wintrust each entry's attributes, in both forms; then
// CryptCATOpen and CryptCATEnumerateMember must report each member as decoded. Wine 8 enumerates
// the first form only (the second lacks the member info it requires): there a refusal with
// CRYPT_E_ATTRIBUTES_MISSING is reported and not held against the catalog.
// Exit status 0 when everything matched, 1 when not (each finding on a FAIL line), 2 on misuse.
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

std::string Narrow(const WCHAR* text) {
    std::string narrow;
    for (; *text != 0; ++text) narrow.push_back(*text < 0x80 ? static_cast<char>(*text) : '?');
    return narrow;
}

// CryptDecodeObjectEx into memory of its own (LocalFree); nullptr, and a FAIL line, on refusal.
template <typename T>
T* Decode(LPCSTR type, const BYTE* data, DWORD size, const std::string& what) {
    void* decoded = nullptr;
    DWORD decodedSize = 0;
    if (CryptDecodeObjectEx(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, type, data, size,
                            CRYPT_DECODE_ALLOC_FLAG, nullptr, &decoded, &decodedSize))
        return static_cast<T*>(decoded);
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", GetLastError());
    Fail(what + " does not decode: " + code);
    return nullptr;
}

const GUID kPeSubject = {
    0xC689AAB8, 0x8E78, 0x11D0, {0x8C, 0x47, 0x00, 0xC0, 0x4F, 0xC2, 0x95, 0xEE}};
const GUID kFlatSubject = {
    0xDE351A42, 0x8E59, 0x11D0, {0x8C, 0x47, 0x00, 0xC0, 0x4F, 0xC2, 0x95, 0xEE}};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: CatalogMembers CATALOG sha1|sha256 ENTRY...\n");
        return 2;
    }
    const std::string path = argv[1];
    const bool v2 = std::string(argv[2]) == "sha256";
    std::set<std::string> expected;  // "kind:HEX:name"
    std::set<std::string> files;
    for (int i = 3; i < argc; ++i) {
        const std::string entry = argv[i];
        (entry.rfind("file:", 0) == 0 ? files : expected).insert(entry);
    }

    // crypt32: the signed-data wrapper, then the certificate trust list inside it.
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
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
    std::string content(size, '\0');
    CryptMsgGetParam(message, CMSG_CONTENT_PARAM, 0, content.data(), &size);
    CryptMsgClose(message);
    const auto* ctl = Decode<CTL_INFO>(PKCS_CTL, reinterpret_cast<const BYTE*>(content.data()),
                                       size, "the certificate trust list");
    if (ctl == nullptr) return 1;

    // wintrust: each entry's indirect data and File name; the second form's SHA-1 entries have
    // member info only.
    std::set<std::string> found;
    std::map<std::string, std::string> kindOfDigest;
    std::set<std::string> sha1Tags;
    for (DWORD i = 0; i < ctl->cCTLEntry; ++i) {
        const CTL_ENTRY& entry = ctl->rgCTLEntry[i];
        const std::string tag = Hex(entry.SubjectIdentifier.pbData, entry.SubjectIdentifier.cbData);
        std::string kind, digest, name;
        for (DWORD a = 0; a < entry.cAttribute; ++a) {
            const CRYPT_ATTRIBUTE& attribute = entry.rgAttribute[a];
            const CRYPT_ATTR_BLOB& value = attribute.rgValue[0];
            if (std::string(attribute.pszObjId) == SPC_INDIRECT_DATA_OBJID) {
                if (auto* data = Decode<SPC_INDIRECT_DATA_CONTENT>(
                        SPC_INDIRECT_DATA_CONTENT_STRUCT, value.pbData, value.cbData, tag)) {
                    kind =
                        std::string(data->Data.pszObjId) == SPC_PE_IMAGE_DATA_OBJID ? "pe" : "flat";
                    digest = Hex(data->Digest.pbData, data->Digest.cbData);
                    LocalFree(data);
                }
            } else if (std::string(attribute.pszObjId) == CAT_NAMEVALUE_OBJID) {
                if (auto* pair = Decode<CAT_NAMEVALUE>(CAT_NAMEVALUE_STRUCT, value.pbData,
                                                       value.cbData, tag)) {
                    if (Narrow(pair->pwszTag) == "File")
                        name = Narrow(reinterpret_cast<const WCHAR*>(pair->Value.pbData));
                    LocalFree(pair);
                }
            }
        }
        if (digest.empty()) {
            sha1Tags.insert(tag);
            continue;
        }
        std::printf("member %s:%s:%s\n", kind.c_str(), digest.c_str(), name.c_str());
        if (v2 && tag != digest) Fail("entry " + tag + " holds digest " + digest);
        found.insert(kind + ":" + digest + ":" + name);
        kindOfDigest[digest] = kind;
    }
    LocalFree(const_cast<CTL_INFO*>(ctl));
    for (const std::string& e : expected)
        if (!found.count(e)) Fail("missing member " + e);
    for (const std::string& f : found)
        if (!expected.count(f)) Fail("unexpected member " + f);
    if (sha1Tags.size() != (v2 ? found.size() : 0))
        Fail(std::to_string(sha1Tags.size()) + " entries without indirect data");

    // wintrust's catalog reader.
    const std::wstring widePath(path.begin(), path.end());
    HANDLE catalog =
        CryptCATOpen(const_cast<LPWSTR>(widePath.c_str()), CRYPTCAT_OPEN_EXISTING, 0, 0, 0);
    if (catalog == INVALID_HANDLE_VALUE) {
        Fail("CryptCATOpen refuses the catalog");
    } else {
        std::size_t enumerated = 0;
        for (CRYPTCATMEMBER* member = nullptr;
             (member = CryptCATEnumerateMember(catalog, member)) != nullptr; ++enumerated) {
            const std::string digest =
                Hex(member->pIndirectData->Digest.pbData, member->pIndirectData->Digest.cbData);
            const std::string tag = Narrow(member->pwszReferenceTag);
            const char* kind = IsEqualGUID(member->gSubjectType, kPeSubject)     ? "pe"
                               : IsEqualGUID(member->gSubjectType, kFlatSubject) ? "flat"
                                                                                 : "unknown";
            std::printf("enumerated %s %s version 0x%lX\n", tag.c_str(), kind,
                        member->dwCertVersion);
            if (tag != digest || kindOfDigest[digest] != kind || member->dwCertVersion != 0x200)
                Fail("enumerated member " + tag + " differs from the decoded one");
        }
        const DWORD error = GetLastError();
        if (v2 && enumerated == 0 && error == static_cast<DWORD>(CRYPT_E_ATTRIBUTES_MISSING))
            std::printf("note: CryptCATEnumerateMember does not enumerate this form (0x%08lX)\n",
                        error);
        else if (enumerated != found.size())
            Fail("CryptCATEnumerateMember gave " + std::to_string(enumerated) + " members");
        CryptCATClose(catalog);
    }

    // Windows' own hash of a flat file: a member's digest in the first form, the tag of a SHA-1
    // entry in the second.
    for (const std::string& entry : files) {
        const std::string file = entry.substr(5);
        HANDLE handle = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        BYTE hash[20];
        DWORD hashSize = sizeof hash;
        const bool hashed = handle != INVALID_HANDLE_VALUE &&
                            CryptCATAdminCalcHashFromFileHandle(handle, &hashSize, hash, 0);
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
        const std::string digest = hashed ? Hex(hash, hashSize) : "";
        if (!hashed || !(v2 ? sha1Tags.count(digest) : kindOfDigest.count(digest)))
            Fail("file " + file + " is not in the catalog (" + digest + ")");
    }

    std::printf("%s\n", failures == 0 ? "PASS" : "FAILED");
    return failures == 0 ? 0 : 1;
}
