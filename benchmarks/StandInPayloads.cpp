#include "benchmarks/StandInPayloads.h"

#include <cstdint>
#include <functional>

namespace usbwiz {

namespace {

constexpr std::size_t KiB = 1024;

struct PayloadSize {
    PayloadId id;
    std::size_t size;
};

// Kind 1 carries 5940 KiB, kind 2 4300 KiB: 10 MiB in all.
constexpr PayloadSize kSizes[] = {
    {145, 420 * KiB},  {147, 310 * KiB}, {148, 280 * KiB}, {149, 300 * KiB}, {150, 90 * KiB},
    {151, 520 * KiB},  {152, 260 * KiB}, {153, 150 * KiB}, {154, 120 * KiB}, {155, 110 * KiB},
    {202, 1800 * KiB}, {208, 700 * KiB}, {209, 880 * KiB}, {217, 700 * KiB}, {218, 1800 * KiB},
    {219, 360 * KiB},  {220, 560 * KiB},
};
// The Windows 2000/XP uninstaller is the same file in both kinds.
constexpr PayloadId kSharedUninstaller = 216;
constexpr PayloadId kSharedWith = 209;

}  // namespace

StandInPayloads::StandInPayloads() {
    std::size_t total = 0;
    for (const PayloadSize& p : kSizes) total += p.size;
    buffer_.resize(total);

    // Incompressible content, the same on every run.
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    for (char& c : buffer_) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        c = static_cast<char>(state);
    }

    std::size_t offset = 0;
    for (const PayloadSize& p : kSizes) {
        slices_.push_back({p.id, offset, p.size});
        if (p.id == kSharedWith) slices_.push_back({kSharedUninstaller, offset, p.size});
        offset += p.size;
    }
}

std::optional<std::string_view> StandInPayloads::Find(PayloadId id) const {
    for (const Slice& s : slices_)
        if (s.id == id) return std::string_view(buffer_).substr(s.offset, s.size);
    return std::nullopt;
}

std::size_t StandInPayloads::TotalSize() const {
    std::size_t total = 0;
    for (const Slice& s : slices_) total += s.size;
    return total;
}

bool StandInPayloads::Holds(std::string_view bytes) const {
    const std::less_equal<const char*> notAfter;
    return notAfter(buffer_.data(), bytes.data()) &&
           notAfter(bytes.data() + bytes.size(), buffer_.data() + buffer_.size());
}

}  // namespace usbwiz
