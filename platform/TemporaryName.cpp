#include "platform/TemporaryName.h"

#include "platform/Platform.h"

namespace usbwiz {

std::string TemporaryFileName(unsigned number) {
    std::string name(kTemporaryPrefix);
    for (int shift = 12; shift >= 0; shift -= 4) name += "0123456789abcdef"[(number >> shift) & 15];
    name += ".tmp";
    return name;
}

unsigned FirstTemporaryNumber(unsigned processId) {
    return (processId * 2654435761u) >> 16;  // Knuth's multiplicative hash, its high bits
}

}  // namespace usbwiz
