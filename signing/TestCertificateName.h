#pragma once

#include <string>
#include <string_view>

namespace usbwiz {

// The most characters RFC 5280 allows a common name (ub-common-name).
inline constexpr std::size_t kLongestCommonName = 64;

// The common name of a package's test certificate: "<longName> driver test certificate". When
// that is longer than kLongestCommonName characters, the long name is cut after as many of its
// characters as leave room for "..." and the ending, so that the name still starts as the
// package's and says what it is.
std::string TestCertificateCommonName(std::string_view longName);

// The name the test certificate is saved under in its folder: "<infPrefix>-driver-test.cer".
std::string TestCertificateFileName(std::string_view infPrefix);

}  // namespace usbwiz
