#include <gtest/gtest.h>

#include "generate/ExtractPayload.h"
#include "tests/core/DefaultRecord.h"
#include "tests/support/FileBytes.h"
#include "tests/support/RealFilesPlatform.h"
#include "tests/support/RecordingPlatform.h"
#include "tests/support/TempDirectory.h"

namespace usbwiz::testing {
namespace {

constexpr PayloadId kCarriedIds[] = {145, 147, 148, 149, 150, 151, 152, 153, 154,
                                     155, 202, 208, 209, 216, 217, 218, 219, 220};

std::string Payload(PayloadId id) {
    return std::string(EmbeddedPayloads().Find(id).value_or(std::string_view()));
}

TEST(Payloads, TheStoreHoldsTheEighteenCarriedFilesAndNoOthers) {
    for (const PayloadId id : kCarriedIds) EXPECT_FALSE(Payload(id).empty()) << id;
    for (const PayloadId id : {0, 1, 144, 146, 156, 201, 203, 207, 210, 215, 221, -145})
        EXPECT_EQ(EmbeddedPayloads().Find(id), std::nullopt) << id;
}

// One Windows 2000/XP uninstaller for both kinds; the other programs are builds of their own.
TEST(Payloads, SharedAndSeparateBuilds) {
    EXPECT_EQ(Payload(209), Payload(216));
    EXPECT_NE(Payload(217), Payload(208));
    EXPECT_NE(Payload(218), Payload(202));
}

// Only names ending exactly in exe, sys or vxd go straight behind the directory.
TEST(Payloads, OutputPathTakesInfPrefixUnlessTheNameEndsInExeSysOrVxd) {
    struct Case {
        const char* fileName;
        const char* path;
    };
    const Case cases[] = {
        {"tarnbus.sys", "/out/tarnbus.sys"},
        {"tarnvcd.vxd", "/out/tarnvcd.vxd"},
        {"PreInstaller.exe", "/out/PreInstaller.exe"},
        {"noextexe", "/out/noextexe"},
        {"sys", "/out/sys"},
        {"setup.inf", "/out/pfxsetup.inf"},
        {"LOUD.EXE", "/out/pfxLOUD.EXE"},
        {"mixed.Sys", "/out/pfxmixed.Sys"},
        {"a.vxd.bak", "/out/pfxa.vxd.bak"},
        {"xe", "/out/pfxxe"},
    };
    for (const Case& c : cases) {
        RecordingPlatform platform;
        WizardSettings settings = DefaultRecord(Package::Ferrolink, "/out/");
        settings.InfPrefix = "pfx";
        EXPECT_EQ(ExtractPayload(settings, c.fileName, 219, platform, EmbeddedPayloads()),
                  std::nullopt);
        EXPECT_EQ(platform.files, (std::map<std::string, std::string>{{c.path, Payload(219)}}))
            << c.fileName;
        EXPECT_TRUE(platform.messages.empty());
    }
}

class NoPayloads final : public PayloadStore {
  public:
    std::optional<std::string_view> Find(PayloadId) const override { return std::nullopt; }
};

// A store without the id leaves no file that could pass for the real one.
TEST(Payloads, AnIdTheStoreLacksGivesTheOpenFailureAndNoFile) {
    const NoPayloads empty;
    struct Case {
        const PayloadStore* store;
        PayloadId id;
    };
    const Case cases[] = {{&EmbeddedPayloads(), 146}, {&EmbeddedPayloads(), 0}, {&empty, 145}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        TempDirectory dir;
        RealFilesPlatform platform;
        const WizardSettings settings = DefaultRecord(Package::ComPort, dir.Path());

        const std::optional<WriteFailure> failure =
            ExtractPayload(settings, "tarnbus.sys", c.id, platform, *c.store);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->path, settings.GenerationDirectory + "tarnbus.sys");
        EXPECT_EQ(failure->icon, MessageIcon::Error);
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_TRUE(dir.EntryNames().empty());
    }
}

TEST(Payloads, AnExistingLongerFileIsReplacedWhole) {
    TempDirectory dir;
    RealFilesPlatform platform;
    const WizardSettings settings = DefaultRecord(Package::Ferrolink, dir.Path());
    ASSERT_TRUE(WriteFileBytes(dir.Path() + "abc.sys", std::string(20000, 'x')));

    EXPECT_EQ(ExtractPayload(settings, "abc.sys", 220, platform, EmbeddedPayloads()), std::nullopt);
    EXPECT_EQ(ReadFileBytes(dir.Path() + "abc.sys"), Payload(220));
    EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace usbwiz::testing
