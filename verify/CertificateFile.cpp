#include "verify/CertificateFile.h"

#include <optional>

#include "catalog/CertificateReader.h"
#include "signing/Pem.h"

namespace usbwiz {

std::vector<std::string> CertificatesInFile(std::string_view bytes) {
    if (ParseCertificate(bytes)) return {std::string(bytes)};
    std::vector<std::string> certificates;
    if (std::optional<std::vector<PemBlock>> blocks = ReadPemBlocks(bytes))
        for (PemBlock& block : *blocks)
            if (block.label == "CERTIFICATE") certificates.push_back(std::move(block.bytes));
    return certificates;
}

}  // namespace usbwiz
