#include "benchmarks/CapturedPackage.h"

#include "benchmarks/QuietPage.h"
#include "generate/GeneratePackage.h"

namespace usbwiz {

namespace {

class CapturingPlatform final : public Platform {
  public:
    explicit CapturingPlatform(const StandInPayloads& store) : store_(store) {}

    std::vector<PackageFile> files;
    std::vector<std::string> copiedPayloads;
    std::vector<std::string> messages;

    MessageAnswer ShowMessage(const MessageRequest& request) override {
        messages.push_back(request.text);
        return MessageAnswer::Ok;
    }

    FileWriteResult WriteWholeFile(const std::string& path, std::string_view bytes) override {
        if (store_.Holds(bytes)) {
            files.push_back({path, {}, bytes});
        } else {
            if (IsPayloadContent(bytes)) copiedPayloads.push_back(path);
            files.push_back({path, std::string(bytes), {}});
        }
        return {true, {}};
    }

    std::optional<std::string> WindowsDirectory() override { return std::nullopt; }
    bool PathExists(const std::string&) override { return true; }
    bool CreateOneDirectory(const std::string&) override { return false; }
    std::optional<std::string> BrowseForFolder(const std::string&) override { return std::nullopt; }
    std::vector<std::string> FolderEntries(const std::string&) override { return {}; }

  private:
    bool IsPayloadContent(std::string_view bytes) const {
        for (PayloadId id : kPayloadIds)
            if (store_.Find(id) == bytes) return true;
        return false;
    }

    const StandInPayloads& store_;
};

}  // namespace

CapturedPackage CapturePackage(const WizardSettings& settings, const StandInPayloads& store) {
    CapturingPlatform platform(store);
    QuietPage page;
    WizardSettings copy = settings;
    CapturedPackage captured;
    if (!GeneratePackage(copy, platform, store, page)) {
        captured.fault = "generation failed";
        for (const std::string& m : platform.messages) captured.fault += ": " + m;
        return captured;
    }
    for (const std::string& path : platform.copiedPayloads)
        captured.fault += "payload copied on its way to the platform: " + path + "\n";
    captured.files = std::move(platform.files);
    return captured;
}

}  // namespace usbwiz
