#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/WriteFailure.h"
#include "platform/Platform.h"

namespace usbwiz {

// Which staged files move onto their final names first.
enum class CommitTurn { InOrder, First };

// Everything one run puts on disk, held back until all of it is there: each file is staged
// under a temporary name beside its final one, and only Commit moves them onto their final
// names, one after the other. Whatever is not committed when the run ends, on any way out (an
// early return, a failure, an exception), is removed: the staged files, then the directories
// the run made, innermost first, as long as they are empty. So a run that fails before its
// commit leaves every folder as it found it.
class StagedRun {
  public:
    explicit StagedRun(Platform& platform) : platform_(platform) {}
    ~StagedRun();
    StagedRun(const StagedRun&) = delete;
    StagedRun& operator=(const StagedRun&) = delete;

    // Creates one directory level and remembers it as the run's own.
    FileResult MakeDirectory(const std::string& path);

    // Stages `bytes` for `path`; what failed (with `icon` for its message), or nullopt.
    std::optional<WriteFailure> Stage(const std::string& path, std::string_view bytes,
                                      MessageIcon icon = MessageIcon::Error,
                                      CommitTurn turn = CommitTurn::InOrder);

    // Starts writing out the files staged since the last call (see Platform::StartWritingOut),
    // so that a run waiting for something else (a signature) makes its commit shorter meanwhile.
    void StartWritingOut();

    // Checks that every staged file can replace its final name, then moves them all, the
    // CommitTurn::First ones before the rest, each group in the order staged. A failed check
    // commits nothing; a move that fails anyway stops there, the files moved before it staying.
    std::optional<WriteFailure> Commit();

    // Removes what is staged and not committed and the directories made, as ending does.
    void Discard() noexcept;

  private:
    struct Entry {
        std::string path;  // as the run named it, for its failure
        StagedFile file;
        MessageIcon icon;
        CommitTurn turn;
    };

    Platform& platform_;
    std::vector<Entry> staged_;              // not yet committed, in commit order
    std::vector<StagedFile> notWrittenOut_;  // staged since StartWritingOut last ran
    std::vector<std::string> directories_;   // made by this run, outermost first
};

}  // namespace usbwiz
