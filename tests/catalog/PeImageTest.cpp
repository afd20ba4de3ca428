// What is taken for a PE image. The digests themselves are checked against osslsigncode by
// catalog-checks.sh; here, input that only looks like a PE image must be refused (and so hashed
// flat) without a read beyond its end, which the sanitizer build would report.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "catalog/PeImage.h"

namespace usbwiz {
namespace {

constexpr std::size_t kPe = 64;         // e_lfanew
constexpr std::size_t kOpt = kPe + 24;  // the optional header

void Put(std::string& image, std::size_t at, std::uint32_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) image[at + i] = static_cast<char>(value >> (8 * i));
}

// The headers of an image without sections, 512 octets, PE32+ or PE32.
std::string Image(bool plus) {
    std::string image(512, '\0');
    image[0] = 'M', image[1] = 'Z';
    Put(image, 0x3C, kPe, 4);
    image.replace(kPe, 4, std::string("PE\0\0", 4));
    Put(image, kPe + 4, 0x8664, 2);
    Put(image, kPe + 20, plus ? 240 : 224, 2);  // SizeOfOptionalHeader
    Put(image, kOpt, plus ? 0x20B : 0x10B, 2);
    Put(image, kOpt + 60, 512, 4);                // SizeOfHeaders
    Put(image, kOpt + (plus ? 108 : 92), 16, 4);  // NumberOfRvaAndSizes
    return image;
}

constexpr std::size_t kCertificateEntry = kOpt + 144;  // PE32+

TEST(PeImage, TakesWellFormedImages) {
    EXPECT_TRUE(AuthenticodeLayoutOf(Image(true)));
    EXPECT_TRUE(AuthenticodeLayoutOf(Image(false)));
    std::string signedImage = Image(true);
    Put(signedImage, kCertificateEntry, 504, 4);
    Put(signedImage, kCertificateEntry + 4, 8, 4);
    const auto layout = AuthenticodeLayoutOf(signedImage);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->hashed[2].offset + layout->hashed[2].size, 504u);
}

TEST(PeImage, RefusesWhatOnlyLooksLikeOne) {
    const std::pair<const char*, std::function<void(std::string&)>> cases[] = {
        {"no MZ", [](std::string& i) { i[1] = 'X'; }},
        {"e_lfanew wraps", [](std::string& i) { Put(i, 0x3C, 0xFFFFFFF0, 4); }},
        {"e_lfanew near the end", [](std::string& i) { Put(i, 0x3C, 500, 4); }},
        {"no PE signature", [](std::string& i) { i[kPe + 3] = 1; }},
        {"unknown magic", [](std::string& i) { Put(i, kOpt, 0x107, 2); }},
        {"optional header without the certificate entry",
         [](std::string& i) { Put(i, kPe + 20, 150, 2); }},
        {"optional header beyond the file", [](std::string& i) { Put(i, kPe + 20, 0xFFFF, 2); }},
        {"four data directories", [](std::string& i) { Put(i, kOpt + 108, 4, 4); }},
        {"headers beyond the file", [](std::string& i) { Put(i, kOpt + 60, 0x10000, 4); }},
        {"section table beyond the file", [](std::string& i) { Put(i, kPe + 6, 0xFFFF, 2); }},
        {"certificate table beyond the file",
         [](std::string& i) {
             Put(i, kCertificateEntry, 0x100000, 4), Put(i, kCertificateEntry + 4, 8, 4);
         }},
        {"certificate table size wraps",
         [](std::string& i) {
             Put(i, kCertificateEntry, 400, 4), Put(i, kCertificateEntry + 4, 0xFFFFFFFF, 4);
         }},
        {"certificate table inside the headers",
         [](std::string& i) {
             Put(i, kCertificateEntry, 8, 4), Put(i, kCertificateEntry + 4, 8, 4);
         }},
    };
    for (const auto& [what, spoil] : cases) {
        std::string image = Image(true);
        spoil(image);
        EXPECT_FALSE(AuthenticodeLayoutOf(image)) << what;
        EXPECT_FALSE(PeImageDigest(image, HashAlgorithm::Sha1)) << what;
    }
    // Cut anywhere, the headers no longer fit.
    const std::string image = Image(true);
    for (std::size_t size = 0; size < image.size(); ++size)
        EXPECT_FALSE(AuthenticodeLayoutOf(std::string_view(image).substr(0, size))) << size;
}

}  // namespace
}  // namespace usbwiz
