#include "benchmarks/CapturedPackage.h"

#include "generate/GeneratePackage.h"
#include "payload/PayloadManifest.h"

namespace usbwiz {

namespace {

class CapturingPlatform final : public Platform {
  public:
    explicit CapturingPlatform(const StandInPayloads& store) : store_(store) {}

    std::vector<CapturedFile> files;
    std::vector<std::string> copiedPayloads;
    std::vector<std::string> messages;

    MessageAnswer ShowMessage(const MessageRequest& request) override {
        messages.push_back(request.text);
        return MessageAnswer::Ok;
    }

    Staging StageFile(const std::string& path, std::string_view bytes) override {
        if (store_.Holds(bytes)) {
            files.push_back({path, {}, bytes});
        } else {
            if (IsPayloadContent(bytes)) copiedPayloads.push_back(path);
            files.push_back({path, std::string(bytes), {}});
        }
        return {{true, {}}, {path, path}};
    }
    FileResult CheckReplaceable(const StagedFile&) override { return {true, {}}; }
    FileResult CommitStagedFile(const StagedFile&) override { return {true, {}}; }
    void DiscardStagedFile(const StagedFile&) override {}

    // Generation never reads a file back.
    FileRead ReadWholeFile(const std::string&, std::size_t) override {
        return {false, {}, "the benchmark keeps no files"};
    }
    std::optional<std::string> WindowsDirectory() override { return std::nullopt; }
    std::optional<std::string> FullPath(const std::string& path) override { return path; }
    bool PathExists(const std::string&) override { return true; }
    FileResult CreateOneDirectory(const std::string&) override { return {}; }
    FileResult RemoveEmptyDirectory(const std::string&) override { return {}; }
    BrowsedFolder BrowseForFolder(const std::string&, WindowRef) override { return {}; }
    std::optional<std::string> BrowseForFile(const std::string&, const std::vector<FileType>&,
                                             WindowRef) override {
        return std::nullopt;
    }
    std::vector<std::string> FolderEntries(const std::string&) override { return {}; }

  private:
    bool IsPayloadContent(std::string_view bytes) const {
        for (const PayloadEntry& entry : kPayloadManifest)
            if (store_.Find(entry.id) == bytes) return true;
        return false;
    }

    const StandInPayloads& store_;
};

}  // namespace

CapturedPackage CapturePackage(const WizardSettings& settings, const StandInPayloads& store) {
    CapturingPlatform platform(store);
    CapturedPackage captured;
    const GenerationOutcome outcome = GeneratePackage(settings, platform, store);
    if (!outcome.written) {
        captured.fault = "generation failed";
        if (outcome.failure)
            captured.fault += ": " + outcome.failure->path + ": " + outcome.failure->reason;
        return captured;
    }
    for (const std::string& path : platform.copiedPayloads)
        captured.fault += "payload copied on its way to the platform: " + path + "\n";
    captured.files = std::move(platform.files);
    return captured;
}

}  // namespace usbwiz
