#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>

#include "generate/GeneratePackage.h"
#include "generate/GenerationPlan.h"
#include "generate/StagedRun.h"
#include "tests/core/DefaultRecord.h"
#include "tests/support/FileBytes.h"
#include "tests/support/RealFilesPlatform.h"
#include "tests/support/TempDirectory.h"

namespace usbwiz::testing {
namespace {

constexpr Package kKinds[] = {Package::ComPort, Package::Ferrolink};

// What generation answers when a file cannot be written: the file, the system's reason and the
// icon of its message, which the caller shows; generation shows nothing itself.
void ExpectOneFailure(const std::optional<WriteFailure>& failure,
                      const std::vector<MessageRequest>& messages, const std::string& path,
                      MessageIcon icon) {
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->path, path);
    EXPECT_FALSE(failure->reason.empty());
    EXPECT_EQ(failure->icon, icon);
    EXPECT_TRUE(messages.empty());
}

// The output directory removed after it was chosen: the first file fails, nothing is left.
TEST(WriteFailure, MissingDirectoryGivesTheMessageAndNoFile) {
    for (const Package kind : kKinds) {
        SCOPED_TRACE("kind " + std::to_string(static_cast<int>(kind)));
        TempDirectory dir;
        RealFilesPlatform platform;
        const WizardSettings settings = DefaultRecord(kind, dir.Path() + "gone/");
        const GenerationOutcome outcome = GeneratePackage(settings, platform, EmbeddedPayloads());
        EXPECT_FALSE(outcome.written);
        ExpectOneFailure(outcome.failure, platform.messages,
                         settings.GenerationDirectory + GenerationPlan(settings).front().name,
                         MessageIcon::Error);
        EXPECT_TRUE(dir.EntryNames().empty());
    }
}

// A device at the final path is written in place when staged: a write that fails after the
// open fails there, with the icon given. A file staged and committed holds its bytes, and only
// from the commit on: starting to write it out leaves its final name alone.
TEST(WriteFailure, StagingReportsAWriteThatFailsAfterTheOpen) {
    for (const MessageIcon icon : {MessageIcon::Error, MessageIcon::Warning}) {
        RealFilesPlatform platform;
        StagedRun run(platform);
        ExpectOneFailure(run.Stage("/dev/full", "some bytes", icon), platform.messages, "/dev/full",
                         icon);
    }
    TempDirectory dir;
    RealFilesPlatform platform;
    StagedRun run(platform);
    EXPECT_EQ(run.Stage(dir.Path() + "ok.txt", "some bytes"), std::nullopt);
    run.StartWritingOut();
    EXPECT_EQ(ReadFileBytes(dir.Path() + "ok.txt"), std::nullopt);
    EXPECT_EQ(run.Commit(), std::nullopt);
    EXPECT_EQ(ReadFileBytes(dir.Path() + "ok.txt"), "some bytes");
    EXPECT_EQ(dir.EntryNames(), std::vector<std::string>{"ok.txt"});
}

// A disk that fills up part way through a file: nothing of that file may stay behind, not even
// under its temporary name. The file size limit stands in for the disk.
TEST(WriteFailure, AFileCutShortIsRemoved) {
    TempDirectory dir;
    const std::string path = dir.Path() + "tarnbus.sys";
    const std::string bytes(64 * 1024, 'x');

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const rlimit small{4096, saved.rlim_max};
    const auto previousHandler = ::signal(SIGXFSZ, SIG_IGN);  // EFBIG instead of a signal
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    RealFilesPlatform platform;
    const Staging staging = platform.StageFile(path, bytes);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(staging.result.ok);
    EXPECT_NE(staging.result.failure.find("cannot write"), std::string::npos)
        << staging.result.failure;
    EXPECT_TRUE(dir.EntryNames().empty());
}

// A generated file whose name leads to /dev/full opens fine and then fails to write: the run
// reports it like a failed open and leaves nothing of its own.
TEST(WriteFailure, TextWritesThatFailAfterTheOpen) {
    for (const Package kind : kKinds) {
        for (const PlannedFile& file : GenerationPlan(DefaultRecord(kind, "/"))) {
            if (file.payload) continue;
            SCOPED_TRACE(file.name);
            TempDirectory dir;
            RealFilesPlatform platform;
            std::filesystem::create_symlink("/dev/full", dir.Path() + file.name);
            const GenerationOutcome outcome =
                GeneratePackage(DefaultRecord(kind, dir.Path()), platform, EmbeddedPayloads());
            ExpectOneFailure(outcome.failure, platform.messages, dir.Path() + file.name,
                             file.failureIcon);
            EXPECT_EQ(dir.EntryNames(), std::vector<std::string>{file.name});
        }
    }
}

}  // namespace
}  // namespace usbwiz::testing
