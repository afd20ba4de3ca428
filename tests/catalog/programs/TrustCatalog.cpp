// Asks Windows whether it trusts signed catalogs: the test certificate given is put into the
// current user's Root and TrustedPublisher stores, then WinVerifyTrust checks each catalog file
// with the generic verify action (its own signature and the chain to a trusted root).
// Usage: TrustCatalog CERTIFICATE.cer CATALOG...
// Exit status 0 when every catalog is trusted, 1 when one is not, 2 on misuse.
#include <windows.h>
// windows.h first: the crypto headers build on it.
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

bool Trust(const std::string& certificate) {
    for (const wchar_t* name : {L"Root", L"TrustedPublisher"}) {
        HCERTSTORE store =
            CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, name);
        const bool added =
            store != nullptr &&
            CertAddEncodedCertificateToStore(
                store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(certificate.data()),
                static_cast<DWORD>(certificate.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
        if (store != nullptr) CertCloseStore(store, 0);
        if (!added) return false;
    }
    return true;
}

LONG Verify(const char* path) {
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
    WINTRUST_FILE_INFO file{};
    file.cbStruct = sizeof file;
    file.pcwszFilePath = wide;
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const LONG status = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: TrustCatalog CERTIFICATE.cer CATALOG...\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string certificate((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    if (certificate.empty() || !Trust(certificate)) {
        std::fprintf(stderr, "cannot trust %s\n", argv[1]);
        return 2;
    }
    int untrusted = 0;
    for (int i = 2; i < argc; ++i) {
        const LONG status = Verify(argv[i]);
        std::printf("%s %s (0x%08lx)\n", status == 0 ? "trusted" : "NOT trusted", argv[i],
                    static_cast<unsigned long>(status));
        untrusted += status != 0;
    }
    return untrusted == 0 ? 0 : 1;
}
