#include "generate/StagedRun.h"

#include <algorithm>

namespace usbwiz {

StagedRun::~StagedRun() {
    Discard();
}

FileResult StagedRun::MakeDirectory(const std::string& path) {
    FileResult made = platform_.CreateOneDirectory(path);
    if (made) directories_.push_back(path);
    return made;
}

std::optional<WriteFailure> StagedRun::Stage(const std::string& path, std::string_view bytes,
                                             MessageIcon icon, CommitTurn turn) {
    Staging staging = platform_.StageFile(path, bytes);
    if (!staging.result) return WriteFailure{path, std::move(staging.result.failure), icon};
    notWrittenOut_.push_back(staging.file);
    const Entry entry{path, std::move(staging.file), icon, turn};
    // Kept in commit order: the first turn goes before every file of the other.
    if (turn == CommitTurn::First)
        staged_.insert(std::find_if(staged_.begin(), staged_.end(),
                                    [](const Entry& e) { return e.turn != CommitTurn::First; }),
                       entry);
    else
        staged_.push_back(entry);
    return std::nullopt;
}

void StagedRun::StartWritingOut() {
    for (const StagedFile& file : notWrittenOut_) platform_.StartWritingOut(file);
    notWrittenOut_.clear();
}

std::optional<WriteFailure> StagedRun::Commit() {
    for (const Entry& entry : staged_)
        if (FileResult ready = platform_.CheckReplaceable(entry.file); !ready)
            return WriteFailure{entry.path, std::move(ready.failure), entry.icon};
    // From here on the run's files are the folder's: the directories stay whatever follows.
    directories_.clear();
    while (!staged_.empty()) {
        const Entry& entry = staged_.front();
        if (FileResult moved = platform_.CommitStagedFile(entry.file); !moved)
            return WriteFailure{entry.path, std::move(moved.failure), entry.icon};
        staged_.erase(staged_.begin());
    }
    return std::nullopt;
}

void StagedRun::Discard() noexcept {
    // Nothing may leave here: this runs while an exception unwinds the run.
    try {
        for (const Entry& entry : staged_) platform_.DiscardStagedFile(entry.file);
        staged_.clear();
        notWrittenOut_.clear();
        for (auto level = directories_.rbegin(); level != directories_.rend(); ++level)
            platform_.RemoveEmptyDirectory(*level);
        directories_.clear();
    } catch (...) {
    }
}

}  // namespace usbwiz
