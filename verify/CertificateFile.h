#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace usbwiz {

// The DER certificates of a certificate file: one DER certificate (a .cer as Windows exports it)
// or the CERTIFICATE blocks of a PEM file. Empty when it holds none, or when a PEM block of the
// file is damaged (no end line, or base64 that does not decode).
std::vector<std::string> CertificatesInFile(std::string_view bytes);

}  // namespace usbwiz
