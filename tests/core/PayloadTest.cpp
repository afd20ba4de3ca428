#include <gtest/gtest.h>

#include "generate/GeneratePackage.h"
#include "generate/GenerationPlan.h"
#include "tests/core/DefaultRecord.h"
#include "tests/support/RealFilesPlatform.h"
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

// Only names ending exactly in exe, sys or vxd stand as they are.
TEST(Payloads, CarriedNamesTakeInfPrefixUnlessTheyEndInExeSysOrVxd) {
    struct Case {
        const char* fileName;
        const char* name;
    };
    const Case cases[] = {
        {"tarnbus.sys", "tarnbus.sys"},
        {"tarnvcd.vxd", "tarnvcd.vxd"},
        {"PreInstaller.exe", "PreInstaller.exe"},
        {"noextexe", "noextexe"},
        {"sys", "sys"},
        {"setup.inf", "pfxsetup.inf"},
        {"LOUD.EXE", "pfxLOUD.EXE"},
        {"mixed.Sys", "pfxmixed.Sys"},
        {"a.vxd.bak", "pfxa.vxd.bak"},
        {"xe", "pfxxe"},
        {"{{SysName}}.sys", "tnfrlnk.sys"},
    };
    WizardSettings settings = DefaultRecord(Package::Ferrolink, "/out/");
    settings.InfPrefix = "pfx";
    for (const Case& c : cases) EXPECT_EQ(CarriedFileName(c.fileName, settings), c.name);
}

// The build's payloads without one id (or without any).
class Lacking final : public PayloadStore {
  public:
    explicit Lacking(std::optional<PayloadId> id) : id_(id) {}
    std::optional<std::string_view> Find(PayloadId id) const override {
        if (!id_ || id == *id_) return std::nullopt;
        return EmbeddedPayloads().Find(id);
    }

  private:
    std::optional<PayloadId> id_;
};

// A store without the id fails the run at that file and leaves no file that could pass for the
// real one, nor any other file of the run.
TEST(Payloads, AnIdTheStoreLacksGivesTheOpenFailureAndNoFile) {
    struct Case {
        std::optional<PayloadId> lacking;
        const char* failing;
    };
    const Case cases[] = {
        {145, "tarnbus.sys"}, {209, "tarnunin2k.exe"}, {std::nullopt, "tarnbus.sys"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        TempDirectory dir;
        RealFilesPlatform platform;
        const WizardSettings settings = DefaultRecord(Package::ComPort, dir.Path());

        const GenerationOutcome outcome = GeneratePackage(settings, platform, Lacking(c.lacking));
        ASSERT_TRUE(outcome.failure);
        EXPECT_EQ(outcome.failure->path, settings.GenerationDirectory + c.failing);
        EXPECT_EQ(outcome.failure->icon, MessageIcon::Error);
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_TRUE(dir.EntryNames().empty());
    }
}

}  // namespace
}  // namespace usbwiz::testing
