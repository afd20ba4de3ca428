#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace usbwiz {

// The DER certificates of a certificate file: one DER certificate (a .cer as Windows exports it)
// or the CERTIFICATE blocks of a PEM file. Empty when it holds none; a block that is not base64
// is skipped.
std::vector<std::string> CertificatesInFile(std::string_view bytes);

}  // namespace usbwiz
