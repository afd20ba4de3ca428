#pragma once

#include <cstdint>
#include <string>

#include "platform/Signing.h"

namespace usbwiz {

// A self-signed certificate for signing catalogs on a maker's own test machines: subject
// "CN=<name>", valid from `now` for `days`, usable for code signing only, signed by `key` with
// `hash` (SHA-1 when it must verify on Windows XP). DER; the serial number comes from
// `serialNumber` (16 bytes).
std::string BuildTestCertificate(const SigningKey& key, std::string_view commonName,
                                 std::int64_t now, int days, HashAlgorithm hash,
                                 std::string_view serialNumber);

}  // namespace usbwiz
