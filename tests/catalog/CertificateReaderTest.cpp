// Certificates made by openssl at test time, read back: what signing checks must see in them.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "catalog/CertificateReader.h"

namespace usbwiz {
namespace {

std::string MakeCertificate(const std::string& key, const std::string& extensions) {
    std::string pattern = (std::filesystem::temp_directory_path() / "usbwiz-cert-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return {};
    const std::filesystem::path dir = pattern;
    const std::string der = (dir / "c.der").string();
    // A configuration of our own, so that no default extension (a CA's) slips in.
    std::ofstream((dir / "req.cnf").string()) << "[req]\ndistinguished_name=dn\n[dn]\n";
    const std::string command =
        "openssl req -x509 -config " + (dir / "req.cnf").string() + " -newkey " + key +
        " -nodes -keyout " + (dir / "k.pem").string() + " -outform DER -out " + der +
        " -days 30 -subj '/O=Acme/CN=Acme Test Signer' " + extensions + " 2>/dev/null";
    if (std::system(command.c_str()) != 0) return {};
    std::ifstream file(der, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    std::filesystem::remove_all(dir);
    return bytes.str();
}

TEST(CertificateReader, WhatSigningChecks) {
    struct Case {
        const char* key;
        const char* extensions;
        PublicKeyKind kind;
        unsigned bits;
        bool ca;
        std::optional<std::uint16_t> usage;
        bool codeSigning;
    };
    const Case cases[] = {
        {"rsa:2048", "-addext extendedKeyUsage=codeSigning -addext keyUsage=digitalSignature",
         PublicKeyKind::Rsa, 2048, false, key_usage::kDigitalSignature, true},
        {"ec -pkeyopt ec_paramgen_curve:P-384",
         "-addext basicConstraints=critical,CA:TRUE -addext keyUsage=keyCertSign,cRLSign",
         PublicKeyKind::EcP384, 384, true, key_usage::kKeyCertSign | key_usage::kCrlSign, true},
        {"ec -pkeyopt ec_paramgen_curve:P-521", "-addext extendedKeyUsage=serverAuth",
         PublicKeyKind::EcP521, 521, false, std::nullopt, false},
    };
    for (const Case& c : cases) {
        const std::string der = MakeCertificate(c.key, c.extensions);
        ASSERT_FALSE(der.empty()) << "openssl could not make " << c.key;
        const std::optional<ParsedCertificate> read = ParseCertificate(der);
        ASSERT_TRUE(read) << c.key;
        EXPECT_EQ(read->keyKind, c.kind) << c.key;
        EXPECT_EQ(read->keyBits, c.bits) << c.key;
        EXPECT_EQ(read->certificateAuthority, c.ca) << c.key;
        EXPECT_EQ(read->keyUsage, c.usage) << c.key;
        EXPECT_EQ(read->AllowsCodeSigning(), c.codeSigning) << c.key;
        EXPECT_EQ(read->commonName, "Acme Test Signer");
        EXPECT_EQ(read->notAfter - read->notBefore, 30 * 86400);
        EXPECT_EQ(read->der, der);
        // Cut anywhere, it is no certificate.
        EXPECT_FALSE(ParseCertificate(std::string_view(der).substr(0, der.size() - 1)));
    }
}

}  // namespace
}  // namespace usbwiz
