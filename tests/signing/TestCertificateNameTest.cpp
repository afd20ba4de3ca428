// The test certificate's common name at the 64 characters RFC 5280 allows, counted in
// characters, not bytes.
#include <gtest/gtest.h>

#include "signing/TestCertificateName.h"

namespace usbwiz {
namespace {

TEST(TestCertificateName, ShortenedToSixtyFourCharacters) {
    const std::string forty(40, 'a');
    struct Case {
        std::string longName, commonName;
    };
    const Case cases[] = {
        {"Tarnwell", "Tarnwell driver test certificate"},
        {forty, forty + " driver test certificate"},
        {forty + "b", std::string(37, 'a') + "... driver test certificate"},
        {std::string(36, 'a') + " bcde", std::string(36, 'a') + "... driver test certificate"},
        {"\xC3\xBC" + std::string(39, 'a'),
         "\xC3\xBC" + std::string(39, 'a') + " driver test certificate"},
        {std::string(280, 'x'), std::string(37, 'x') + "... driver test certificate"},
    };
    for (const Case& c : cases) EXPECT_EQ(TestCertificateCommonName(c.longName), c.commonName);
}

}  // namespace
}  // namespace usbwiz
