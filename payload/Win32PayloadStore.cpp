// The carried files as the program's own "DATAFILE" resources.
#include <windows.h>

#include "payload/PayloadStore.h"

namespace usbwiz {

namespace {

class ResourcePayloads final : public PayloadStore {
  public:
    std::optional<std::string_view> Find(PayloadId id) const override {
        HRSRC info = FindResourceA(nullptr, MAKEINTRESOURCEA(id), "DATAFILE");
        if (info == nullptr) return std::nullopt;
        HGLOBAL loaded = LoadResource(nullptr, info);
        if (loaded == nullptr) return std::nullopt;
        // The bytes stay in the mapped image for the life of the program.
        const void* bytes = LockResource(loaded);
        const DWORD size = SizeofResource(nullptr, info);
        if (bytes == nullptr) return std::nullopt;
        return std::string_view(static_cast<const char*>(bytes), size);
    }
};

}  // namespace

const PayloadStore& EmbeddedPayloads() {
    static const ResourcePayloads store;
    return store;
}

}  // namespace usbwiz
