#include "payload/PayloadDigests.h"

namespace usbwiz {

const PayloadDigests* FindPayloadDigests(PayloadId id) {
    for (const PayloadDigests& digests : kPayloadDigests)
        if (digests.id == id) return &digests;
    return nullptr;
}

}  // namespace usbwiz
