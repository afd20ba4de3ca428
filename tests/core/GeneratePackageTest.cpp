#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "generate/GeneratePackage.h"
#include "generate/GenerationPlan.h"
#include "generate/PackageContents.h"
#include "tests/core/DefaultRecord.h"
#include "tests/support/FileBytes.h"
#include "tests/support/RealFilesPlatform.h"
#include "tests/support/RecordingPlatform.h"
#include "tests/support/TempDirectory.h"

namespace usbwiz::testing {
namespace {

// A file the package must hold and the payload it carries; 0 for the generated text files.
struct ExpectedFile {
    std::string name;
    PayloadId payload;
};

std::vector<ExpectedFile> ComPortFiles(bool preinstaller) {
    std::vector<ExpectedFile> files{
        {"tarnbus.inf", 0},    {"tarnvxd.inf", 0},    {"tarnw2k.inf", 0},      {"tarnwdm.inf", 0},
        {"tarnunin.u98", 0},   {"tarnunin.u2k", 0},   {"setup.ini", 0},        {"tarnbus.sys", 145},
        {"tarncm95.sys", 148}, {"tarncmnt.sys", 149}, {"tarncr.sys", 150},     {"tarnser.sys", 151},
        {"tarnwh95.sys", 152}, {"tarnwhnt.sys", 147}, {"tarncomm.vxd", 153},   {"tarnvcd.vxd", 154},
        {"tarnvcr.vxd", 155},  {"tarnunin.exe", 208}, {"tarnunin2k.exe", 209},
    };
    if (preinstaller) files.push_back({"PreInstaller.exe", 202});
    return files;
}

std::vector<ExpectedFile> FerrolinkFiles(bool preinstaller) {
    std::vector<ExpectedFile> files{
        {"tnfrlnk.inf", 0},   {"tnflunin.u98", 0}, {"tnflunin.u2k", 0},   {"setup.ini", 0},
        {"tnfrlnk.sys", 220}, {"tnlib.sys", 219},  {"tnflunin.exe", 217}, {"tnflunin2k.exe", 216},
    };
    if (preinstaller) files.push_back({"PreInstaller.exe", 218});
    return files;
}

WizardSettings Record(Package kind, bool usePreinstaller) {
    WizardSettings settings = DefaultRecord(kind, "/out/");
    settings.UsePreinstaller = usePreinstaller;
    return settings;
}

std::vector<std::string> Paths(const std::vector<ExpectedFile>& files, std::size_t count) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < count; ++i) paths.push_back("/out/" + files[i].name);
    return paths;
}

struct PlanCase {
    const char* label;
    WizardSettings settings;
    std::vector<ExpectedFile> files;
};

std::vector<PlanCase> PlanCases() {
    WizardSettings renamed = Record(Package::Ferrolink, 1);
    renamed.InfName = "dev";
    renamed.SysName = "abc";
    renamed.UninstallName = "un";
    return {
        {"kind 1", Record(Package::ComPort, 1), ComPortFiles(true)},
        {"kind 1 without preinstaller", Record(Package::ComPort, 0), ComPortFiles(false)},
        {"kind 2", Record(Package::Ferrolink, 1), FerrolinkFiles(true)},
        {"kind 2 without preinstaller", Record(Package::Ferrolink, 0), FerrolinkFiles(false)},
        {"kind 2 renamed",
         renamed,
         {{"dev.inf", 0},
          {"un.u98", 0},
          {"un.u2k", 0},
          {"setup.ini", 0},
          {"abc.sys", 220},
          {"tnlib.sys", 219},
          {"un.exe", 217},
          {"un2k.exe", 216},
          {"PreInstaller.exe", 218}}},
    };
}

TEST(GeneratePackage, WritesEveryPlannedFileInOrderThenReportsSuccess) {
    for (PlanCase& c : PlanCases()) {
        SCOPED_TRACE(c.label);
        RecordingPlatform platform;
        const std::vector<std::string> paths = Paths(c.files, c.files.size());

        EXPECT_EQ(BuildPackageContents(c.settings, EmbeddedPayloads()).FilePaths(), paths);
        const GenerationOutcome outcome = GeneratePackage(c.settings, platform, EmbeddedPayloads());
        EXPECT_TRUE(outcome.written);
        EXPECT_FALSE(outcome.failure);
        EXPECT_EQ(platform.writeAttempts, paths);
        EXPECT_EQ(platform.WrittenPaths(), paths);
        EXPECT_TRUE(platform.staged.empty());
        for (const ExpectedFile& file : c.files) {
            const std::string& bytes = platform.files["/out/" + file.name];
            if (file.payload != 0) {
                EXPECT_EQ(bytes, EmbeddedPayloads().Find(file.payload).value()) << file.name;
            } else {
                EXPECT_FALSE(bytes.empty()) << file.name;
            }
        }
        EXPECT_TRUE(platform.messages.empty()) << "generation reports; it shows nothing";
    }
}

TEST(GeneratePackage, KindsWithoutAPlanWriteAndShowNothing) {
    for (const Package kind : {Package::None, Package{3}, Package{255}}) {
        RecordingPlatform platform;
        WizardSettings settings = Record(Package::ComPort, 1);
        settings.PackageKind = kind;

        const GenerationOutcome outcome = GeneratePackage(settings, platform, EmbeddedPayloads());
        EXPECT_FALSE(outcome.written) << int(kind);
        EXPECT_FALSE(outcome.failure) << int(kind);
        EXPECT_TRUE(platform.events.empty());
        EXPECT_TRUE(GenerationPlan(settings).empty());
    }
}

// A file that cannot be staged, or whose final name cannot be replaced, at any place of either
// plan: nothing is committed and nothing staged is left, and the outcome names the file, the
// system's reason and the icon of its message.
TEST(GeneratePackage, AFailureAnywhereCommitsNothingAndNamesTheFile) {
    for (const PlanCase& plan :
         {PlanCase{"kind 1", Record(Package::ComPort, 1), ComPortFiles(true)},
          PlanCase{"kind 2", Record(Package::Ferrolink, 1), FerrolinkFiles(true)}}) {
        for (std::size_t k = 0; k < plan.files.size(); ++k) {
            for (const bool held : {false, true}) {
                SCOPED_TRACE(std::string(plan.label) + (held ? " held at " : " failing at ") +
                             plan.files[k].name);
                RecordingPlatform platform;
                const std::string failing = "/out/" + plan.files[k].name;
                (held ? platform.heldFiles : platform.failingWrites).insert(failing);

                const GenerationOutcome outcome =
                    GeneratePackage(plan.settings, platform, EmbeddedPayloads());
                EXPECT_FALSE(outcome.written);
                EXPECT_EQ(platform.writeAttempts,
                          Paths(plan.files, held ? plan.files.size() : k + 1));
                EXPECT_TRUE(platform.WrittenPaths().empty());
                EXPECT_TRUE(platform.files.empty());
                EXPECT_TRUE(platform.staged.empty());
                ASSERT_TRUE(outcome.failure);
                EXPECT_EQ(outcome.failure->path, failing);
                EXPECT_EQ(outcome.failure->reason,
                          held ? "held by the test" : "refused by the test");
                EXPECT_EQ(outcome.failure->icon, plan.files[k].name == "tarnvxd.inf"
                                                     ? MessageIcon::Warning
                                                     : MessageIcon::Error);
                EXPECT_TRUE(platform.messages.empty());
            }
        }
    }
}

// A file staged for the first turn (a test certificate) moves before every other, whenever it
// was staged.
TEST(GeneratePackage, TheFirstTurnIsCommittedFirst) {
    RecordingPlatform platform;
    StagedRun run(platform);
    ASSERT_EQ(run.Stage("/out/a.inf", "a"), std::nullopt);
    ASSERT_EQ(run.Stage("/out/b.cat", "b"), std::nullopt);
    ASSERT_EQ(run.Stage("/certs/c.cer", "c", MessageIcon::Error, CommitTurn::First), std::nullopt);
    EXPECT_EQ(run.Commit(), std::nullopt);
    EXPECT_EQ(platform.WrittenPaths(),
              (std::vector<std::string>{"/certs/c.cer", "/out/a.inf", "/out/b.cat"}));
}

// Finish plans the package once and renders each generated text once.
TEST(GeneratePackage, OnePlanAndOneRenderingPerRun) {
    for (const auto& [kind, texts] :
         {std::pair{Package::ComPort, 7u}, std::pair{Package::Ferrolink, 4u}}) {
        RecordingPlatform platform;
        const std::size_t plans = PlansMadeSoFar();
        const std::size_t renders = TextsRenderedSoFar();
        ASSERT_TRUE(GeneratePackage(Record(kind, 1), platform, EmbeddedPayloads()).written);
        EXPECT_EQ(PlansMadeSoFar() - plans, 1u);
        EXPECT_EQ(TextsRenderedSoFar() - renders, texts);
    }
}

// A folder that already holds a package of the other kind and one of an earlier prefix: only the
// files the current plan names change, and those are replaced whole.
TEST(GeneratePackage, FilesTheRunDoesNotNameStayUntouched) {
    TempDirectory dir;
    const std::vector<std::string> foreign = {"tnfrlnk.inf",    "tnflunin.u98",  "tnflunin.u2k",
                                              "tnfrlnk.sys",    "tnlib.sys",     "tnflunin.exe",
                                              "tnflunin2k.exe", "oldbus.inf",    "oldw2k.inf",
                                              "oldwdm.inf",     "olduninst.exe", "notes.txt"};
    for (const std::string& name : foreign)
        ASSERT_TRUE(WriteFileBytes(dir.Path() + name, "kept " + name));
    // Names shared with the earlier packages, longer than what replaces them.
    for (const char* name : {"setup.ini", "PreInstaller.exe", "tarnvxd.inf", "tarnbus.sys"})
        ASSERT_TRUE(WriteFileBytes(dir.Path() + name, std::string(50000, '#')));

    RealFilesPlatform platform;
    WizardSettings settings = DefaultRecord(Package::ComPort, dir.Path());
    ASSERT_TRUE(GeneratePackage(settings, platform, EmbeddedPayloads()).written);

    for (const std::string& name : foreign)
        EXPECT_EQ(ReadFileBytes(dir.Path() + name), "kept " + name);
    for (const ExpectedFile& file : ComPortFiles(true)) {
        const std::string bytes = ReadFileBytes(dir.Path() + file.name).value_or("(missing)");
        EXPECT_EQ(bytes.find('#'), std::string::npos) << file.name;
        if (file.payload != 0) {
            EXPECT_EQ(bytes, EmbeddedPayloads().Find(file.payload).value());
        }
    }
    EXPECT_EQ(dir.EntryNames().size(), foreign.size() + ComPortFiles(true).size());
    EXPECT_TRUE(platform.messages.empty());
}

// The names and bytes of every entry of a folder but `skipped`.
std::map<std::string, std::optional<std::string>> FolderBytes(const TempDirectory& dir,
                                                              const std::string& skipped) {
    std::map<std::string, std::optional<std::string>> bytes;
    for (const std::string& name : dir.EntryNames())
        if (name != skipped) bytes[name] = ReadFileBytes(dir.Path() + name);
    return bytes;
}

// On a real disk, over an earlier package: a rerun under other names whose uninstaller opens
// but cannot be written fails, and the folder is exactly as it was, with no file of the rerun.
TEST(GeneratePackage, AFailedRerunLeavesTheEarlierPackageAsItWas) {
    TempDirectory dir;
    RealFilesPlatform platform;
    WizardSettings earlier = DefaultRecord(Package::ComPort, dir.Path());
    earlier.InfPrefix = "old";
    earlier.UninstallName = "oldunin";
    ASSERT_TRUE(GeneratePackage(earlier, platform, EmbeddedPayloads()).written);
    std::filesystem::create_symlink("/dev/full", dir.Path() + "tarnunin.exe");
    const auto before = FolderBytes(dir, "tarnunin.exe");

    const GenerationOutcome outcome =
        GeneratePackage(DefaultRecord(Package::ComPort, dir.Path()), platform, EmbeddedPayloads());
    EXPECT_FALSE(outcome.written);
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(outcome.failure->path, dir.Path() + "tarnunin.exe");
    EXPECT_EQ(outcome.failure->reason, "cannot write: No space left on device");
    EXPECT_EQ(FolderBytes(dir, "tarnunin.exe"), before);
}

}  // namespace
}  // namespace usbwiz::testing
