// Every form of private key file a maker's tools write, made here with openssl from one RSA and
// one EC key: each is read by our own reader to that key's numbers, or refused with its reason.
#include <gtest/gtest.h>

#include <cstdlib>
#include <variant>

#include "signing/PrivateKeyFile.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDirectory.h"

namespace usbwiz {
namespace {

std::string Hex(std::string_view bytes) {
    std::string hex;
    for (const char byte : bytes) {
        hex += "0123456789ABCDEF"[static_cast<unsigned char>(byte) >> 4];
        hex += "0123456789ABCDEF"[static_cast<unsigned char>(byte) & 15];
    }
    return hex;
}

TEST(PrivateKeyFile, EveryFormOpenSslWrites) {
    const testing::TempDirectory folder;
    const std::string in = "cd '" + folder.Path() + "' && ";
    ASSERT_EQ(std::system((in + "openssl genpkey -algorithm RSA -out rsa.pem 2>/dev/null && "
                                "openssl rsa -in rsa.pem -noout -modulus >rsa.modulus && "
                                "openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-384 "
                                "-out ec.pem && openssl pkey -in ec.pem -pubout -outform DER "
                                "-out ec.public")
                              .c_str()),
              0);
    const std::string modulus = testing::ReadFileBytes(folder.Path() + "rsa.modulus").value();
    const std::string ecPublic = testing::ReadFileBytes(folder.Path() + "ec.public").value();

    struct Case {
        const char* command;  // writes k.pem
        const char* password;
        const char* refusal;  // empty: read, to the key of the command's input
    };
    const Case cases[] = {
        {"cp rsa.pem k.pem", nullptr, ""},
        {"openssl rsa -in rsa.pem -traditional -out k.pem", nullptr, ""},
        {"openssl pkcs8 -topk8 -in rsa.pem -out k.pem -passout pass:pw", "pw", ""},
        {"openssl pkcs8 -topk8 -v2 aes-128-cbc -v2prf hmacWithSHA1 -in rsa.pem -out k.pem "
         "-passout pass:pw",
         "pw", ""},
        {"openssl pkcs8 -topk8 -v2 aes-192-cbc -in rsa.pem -out k.pem -passout pass:pw", "pw", ""},
        {"openssl pkcs8 -topk8 -v2 des3 -in rsa.pem -out k.pem -passout pass:pw", "pw", ""},
        {"openssl rsa -in rsa.pem -traditional -aes128 -out k.pem -passout pass:pw", "pw", ""},
        {"openssl rsa -in rsa.pem -traditional -aes192 -out k.pem -passout pass:pw", "pw", ""},
        {"openssl rsa -in rsa.pem -traditional -aes256 -out k.pem -passout pass:pw", "pw", ""},
        {"openssl rsa -in rsa.pem -traditional -des3 -out k.pem -passout pass:pw", "pw", ""},
        {"cp ec.pem k.pem", nullptr, ""},
        {"openssl ec -in ec.pem -out k.pem", nullptr, ""},
        {"openssl ec -in ec.pem -no_public -out k.pem", nullptr, ""},
        {"openssl ecparam -name secp384r1 >k.pem && openssl ec -in ec.pem >>k.pem", nullptr, ""},
        {"openssl ec -in ec.pem -aes256 -out k.pem -passout pass:pw", "pw", ""},
        {"openssl pkcs8 -topk8 -in ec.pem -out k.pem -passout pass:pw", "pw", ""},
        {"openssl pkcs8 -topk8 -in rsa.pem -out k.pem -passout pass:pw", "not-it",
         "wrong password"},
        {"openssl rsa -in rsa.pem -traditional -des3 -out k.pem -passout pass:pw", "not-it",
         "wrong password"},
        {"openssl ec -in ec.pem -aes128 -out k.pem -passout pass:pw", nullptr,
         "no password was given"},
        {"openssl pkcs8 -topk8 -v1 PBE-SHA1-3DES -in rsa.pem -out k.pem -passout pass:pw", "pw",
         "not one this program reads"},
        {"openssl pkcs8 -topk8 -scrypt -in rsa.pem -out k.pem -passout pass:pw", "pw",
         "not one this program reads"},
        {"openssl genpkey -algorithm ed25519 -out k.pem", nullptr, "neither RSA nor ECDSA"},
        {"openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:secp256k1 -out k.pem", nullptr,
         "neither RSA nor ECDSA"},
        {"sed 's/^M/*/' rsa.pem >k.pem", nullptr, "a PEM block of the file is damaged"},
        {"openssl pkey -in rsa.pem -pubout -out k.pem", nullptr, "no PEM private key"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ASSERT_EQ(std::system((in + c.command + " 2>/dev/null").c_str()), 0);
        const KeyFileReading reading =
            ReadPrivateKeyFile(testing::ReadFileBytes(folder.Path() + "k.pem").value(),
                               c.password ? std::optional<std::string>(c.password) : std::nullopt);
        if (*c.refusal != '\0') {
            EXPECT_FALSE(reading.key);
            EXPECT_NE(reading.problem.find(c.refusal), std::string::npos) << reading.problem;
            EXPECT_EQ(reading.passwordRefused,
                      std::string_view(c.refusal) == "no password was given" ||
                          std::string_view(c.refusal) == "wrong password");
        } else if (const auto* rsa =
                       reading.key ? std::get_if<RsaPrivateNumbers>(&*reading.key) : nullptr) {
            EXPECT_EQ("Modulus=" + Hex(rsa->modulus) + "\n", modulus);
            EXPECT_FALSE(rsa->prime1.empty() || rsa->coefficient.empty() ||
                         rsa->privateExponent.empty());
        } else {
            ASSERT_TRUE(reading.key) << reading.problem;
            const auto& ec = std::get<EcPrivateNumbers>(*reading.key);
            EXPECT_EQ(ec.curve, KeyAlgorithm::EcdsaP384);
            EXPECT_EQ(ec.privateScalar.size(), 48u);
            // A file without the public point leaves it to the library to compute.
            EXPECT_TRUE(ec.publicPoint.empty() || ecPublic.ends_with(ec.publicPoint));
        }
    }
}

}  // namespace
}  // namespace usbwiz
