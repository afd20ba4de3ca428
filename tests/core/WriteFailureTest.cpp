#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <functional>

#include "generate/ExtractPayload.h"
#include "generate/InstallerConfigFiles.h"
#include "inf/TextFileWriter.h"
#include "tests/core/DefaultRecord.h"
#include "tests/core/InfWriterCases.h"
#include "tests/support/FileBytes.h"
#include "tests/support/RealFilesPlatform.h"
#include "tests/support/TempDirectory.h"

namespace usbwiz::testing {
namespace {

// What every producer answers when its file cannot be written: the file, the system's reason and
// the icon of its message, which the caller shows; the producer shows nothing itself.
void ExpectOneOpenFailure(const std::optional<WriteFailure>& failure,
                          const std::vector<MessageRequest>& messages, MessageIcon icon) {
    ASSERT_TRUE(failure.has_value());
    EXPECT_FALSE(failure->path.empty());
    EXPECT_FALSE(failure->reason.empty());
    EXPECT_EQ(failure->icon, icon);
    EXPECT_TRUE(messages.empty());
}

struct Producer {
    std::string label;
    Package kind;
    std::function<std::optional<WriteFailure>(const WizardSettings&, Platform&)> run;
    MessageIcon icon;
};

std::vector<Producer> Producers() {
    std::vector<Producer> producers;
    for (const InfWriterCase& w : kInfWriters)
        producers.push_back({std::string(w.name),
                             w.name == "ferrolink" ? Package::Ferrolink : Package::ComPort, w.write,
                             w.failureIcon});
    for (const Package kind : {Package::ComPort, Package::Ferrolink})
        producers.push_back({"config files", kind, WriteInstallerConfigFiles, MessageIcon::Error});
    producers.push_back({"payload", Package::ComPort,
                         [](const WizardSettings& s, Platform& p) {
                             return ExtractPayload(s, "tarnbus.sys", 145, p, EmbeddedPayloads());
                         },
                         MessageIcon::Error});
    return producers;
}

// The output directory removed after it was chosen.
TEST(WriteFailure, MissingDirectoryGivesTheMessageAndNoFile) {
    for (const Producer& producer : Producers()) {
        SCOPED_TRACE(producer.label + " kind " + std::to_string(static_cast<int>(producer.kind)));
        TempDirectory dir;
        RealFilesPlatform platform;
        WizardSettings settings = DefaultRecord(producer.kind, dir.Path() + "gone/");

        ExpectOneOpenFailure(producer.run(settings, platform), platform.messages, producer.icon);
        EXPECT_TRUE(dir.EntryNames().empty());
    }
}

TEST(WriteFailure, WholeFileWriterReportsAWriteThatFailsAfterTheOpen) {
    for (const MessageIcon icon : {MessageIcon::Error, MessageIcon::Warning}) {
        RealFilesPlatform platform;
        ExpectOneOpenFailure(WritePackageFile(platform, "/dev/full", "some bytes", icon),
                             platform.messages, icon);
    }
    TempDirectory dir;
    RealFilesPlatform platform;
    EXPECT_EQ(WritePackageFile(platform, dir.Path() + "ok.txt", "some bytes"), std::nullopt);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(ReadFileBytes(dir.Path() + "ok.txt"), "some bytes");
}

// A disk that fills up part way through a file: nothing of that file may stay behind under its
// real name, where it would pass for a complete one. The file size limit stands in for the disk.
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
    const FileResult result = platform.WriteWholeFile(path, bytes);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.failure.find("cannot write"), std::string::npos) << result.failure;
    EXPECT_TRUE(dir.EntryNames().empty());
}

// A name without exe/sys/vxd gets InfPrefix in front, so an empty prefix lands on /dev/full.
TEST(WriteFailure, PayloadWriteThatFailsAfterTheOpen) {
    RealFilesPlatform platform;
    WizardSettings settings = DefaultRecord(Package::ComPort, "/dev/");
    settings.InfPrefix = "";
    ExpectOneOpenFailure(ExtractPayload(settings, "full", 145, platform, EmbeddedPayloads()),
                         platform.messages, MessageIcon::Error);
}

// A file name of the package that leads to /dev/full opens fine and then fails to write: the
// producer reports it like a failed open and writes nothing after it.
TEST(WriteFailure, TextWritesThatFailAfterTheOpen) {
    struct Case {
        std::string label;
        Package kind;
        std::function<std::optional<WriteFailure>(const WizardSettings&, Platform&)> run;
        MessageIcon icon;
        const char* fullFile;
        std::vector<std::string> entriesAfter;  // all but the link
    };
    std::vector<Case> cases = {
        {"config files at .u98",
         Package::ComPort,
         WriteInstallerConfigFiles,
         MessageIcon::Error,
         "tarnunin.u98",
         {}},
        {"config files at .u2k",
         Package::ComPort,
         WriteInstallerConfigFiles,
         MessageIcon::Error,
         "tarnunin.u2k",
         {"tarnunin.u98"}},
        {"config files at setup.ini",
         Package::Ferrolink,
         WriteInstallerConfigFiles,
         MessageIcon::Error,
         "setup.ini",
         {"tnflunin.u2k", "tnflunin.u98"}},
    };
    for (const InfWriterCase& w : kInfWriters) {
        const Package kind = w.name == "ferrolink" ? Package::Ferrolink : Package::ComPort;
        cases.push_back({std::string(w.name), kind, w.write, w.failureIcon, "", {}});
    }
    for (Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory dir;
        RealFilesPlatform platform;
        WizardSettings settings = DefaultRecord(c.kind, dir.Path());
        const std::string link = *c.fullFile ? c.fullFile : InfWriter(c.label).fileName(settings);
        std::filesystem::create_symlink("/dev/full", dir.Path() + link);

        ExpectOneOpenFailure(c.run(settings, platform), platform.messages, c.icon);
        std::vector<std::string> entries = dir.EntryNames();
        std::erase(entries, link);
        EXPECT_EQ(entries, c.entriesAfter);
    }
}

}  // namespace
}  // namespace usbwiz::testing
