// libFuzzer target: a key or certificate file as bytes, through our own readers of what a maker
// gives usbdrvgen to sign with: PEM blocks, private keys in every form (the encrypted ones only
// as far as their structure: no password is given), and the certificates in PEM blocks.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catalog/CertificateReader.h"
#include "signing/Pem.h"
#include "signing/PrivateKeyFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace usbwiz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ReadPrivateKeyFile(text, std::nullopt);
    if (const auto blocks = ReadPemBlocks(text))
        for (const PemBlock& block : *blocks) ParseCertificate(block.bytes);
    return 0;
}
