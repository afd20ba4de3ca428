#include <windows.h>
// windows.h first: the crypto header builds on it.
#include <wincrypt.h>

#include "platform/SignatureSupport.h"

namespace usbwiz {

bool CanCheckSignaturesOf(std::string_view publicKeyInfo) {
    CERT_PUBLIC_KEY_INFO* info = nullptr;
    DWORD size = 0;
    if (!CryptDecodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO,
                             reinterpret_cast<const BYTE*>(publicKeyInfo.data()),
                             static_cast<DWORD>(publicKeyInfo.size()), CRYPT_DECODE_ALLOC_FLAG,
                             nullptr, &info, &size))
        return false;
    const bool rsa = std::string_view(info->Algorithm.pszObjId) == szOID_RSA_RSA;
    LocalFree(info);
    return rsa;
}

}  // namespace usbwiz
