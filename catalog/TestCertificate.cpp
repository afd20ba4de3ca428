#include "catalog/TestCertificate.h"

#include "catalog/AlgorithmOids.h"
#include "catalog/DerWriter.h"

namespace usbwiz {

namespace {

std::string SignatureAlgorithm(KeyAlgorithm key, HashAlgorithm hash) {
    if (key == KeyAlgorithm::Rsa)
        return der::Sequence(
            {der::ObjectIdentifier(hash == HashAlgorithm::Sha1 ? "1.2.840.113549.1.1.5"
                                                               : "1.2.840.113549.1.1.11"),
             der::Null()});
    return der::Sequence({der::ObjectIdentifier(oid::EcdsaWith(hash))});
}

std::string Extension(std::string_view oid, bool critical, std::string_view value) {
    if (!critical) return der::Sequence({der::ObjectIdentifier(oid), der::OctetString(value)});
    return der::Sequence({der::ObjectIdentifier(oid), der::Boolean(true), der::OctetString(value)});
}

}  // namespace

std::string BuildTestCertificate(const SigningKey& key, std::string_view commonName,
                                 std::int64_t now, int days, HashAlgorithm hash,
                                 std::string_view serialNumber) {
    const std::string name = der::Sequence({der::SetOf(
        {der::Sequence({der::ObjectIdentifier("2.5.4.3"), der::Utf8String(commonName)})})});
    // Not a certificate authority; it signs (digital signature) and only code.
    const std::vector<std::string> extensions = {
        Extension("2.5.29.19", true, der::Sequence({})),
        Extension("2.5.29.15", true, der::BitString(std::string(1, '\x80'), 7)),
        Extension("2.5.29.37", false, der::Sequence({der::ObjectIdentifier("1.3.6.1.5.5.7.3.3")})),
    };
    const std::string algorithm = SignatureAlgorithm(key.Algorithm(), hash);
    const std::string toBeSigned = der::Sequence({
        der::Explicit(0, der::Integer(2)),
        der::UnsignedInteger(serialNumber),
        algorithm,
        name,
        der::Sequence({der::UtcTime(now), der::UtcTime(now + std::int64_t{days} * 86400)}),
        name,
        key.PublicKeyInfo(),
        der::Explicit(3, der::Sequence(extensions)),
    });
    return der::Sequence({toBeSigned, algorithm, der::BitString(key.Sign(hash, toBeSigned), 0)});
}

}  // namespace usbwiz
