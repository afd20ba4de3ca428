#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace usbwiz {

enum class MessageIcon { None, Error, Warning, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// An owner window, opaque to the core; nullptr means the box has no owner.
using WindowRef = void*;

struct MessageRequest {
    std::string text;
    std::optional<std::string> caption;  // nullopt: the platform's default caption
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    WindowRef owner = nullptr;
};

// The outcome of a file-system call.
struct FileResult {
    bool ok = false;
    std::string failure;  // what failed and the operating system's reason, when !ok

    explicit operator bool() const { return ok; }
};

// The whole of a file read by ReadWholeFile.
struct FileRead {
    bool ok = false;
    std::string bytes;
    std::string failure;    // the operating system's reason, or "larger than N bytes", when !ok
    bool tooLarge = false;  // !ok because the file holds more than the limit

    explicit operator bool() const { return ok; }
};

// A kind of file the file browser offers: its name and the patterns that find it ("*.pfx;*.p12").
struct FileType {
    std::string name;
    std::string patterns;
};

// What the folder browser answered.
struct BrowsedFolder {
    // The chosen folder's file-system path; nullopt when the user cancels or chooses something
    // that has none (My Computer, a network, the trash) or that this system cannot write.
    std::optional<std::string> path;
    // The chosen folder's path holds a character the ANSI code page lacks, so no file call of
    // ours could reach it.
    bool notInCodePage = false;
};

// The temporary files of StageFile (and of the folder probe) are named as "~usbwiz-1f0c.tmp":
// kTemporaryPrefix, four hexadecimal digits, ".tmp". Every one is as long as kTemporaryNameForm,
// whatever the process, so that the longest path a run will write is known before it starts.
inline constexpr std::string_view kTemporaryPrefix = "~usbwiz-";
inline constexpr std::string_view kTemporaryNameForm = "~usbwiz-XXXX.tmp";

// A file written whole under a temporary name beside its final path, waiting there to be moved
// onto that path or removed. The core only hands it back to the platform that made it.
struct StagedFile {
    std::string path;       // the final path
    std::string temporary;  // where the bytes wait; empty when they went straight to `path`
};

// What staging a file came to: the staged file, or the failure with no temporary file left.
struct Staging {
    FileResult result;
    StagedFile file;
};

// The narrow layer between the core and the operating system. Tests replace it with a fake.
class Platform {
  public:
    virtual ~Platform() = default;

    virtual MessageAnswer ShowMessage(const MessageRequest& request) = 0;

    // Writes `bytes` unchanged and whole under a temporary name beside `path`
    // (kTemporaryPrefix...), leaving `path` as it is. A failure leaves no temporary file. A
    // device or pipe at `path` has nothing to replace: it is written at once, in place.
    virtual Staging StageFile(const std::string& path, std::string_view bytes) = 0;

    // Fails when the staged file could not replace its final path now, for a reason the system
    // can tell beforehand (on Windows: another program holds that file open without sharing its
    // deletion, or it is read-only). Changes nothing.
    virtual FileResult CheckReplaceable(const StagedFile& file) = 0;

    // Starts putting the staged file's bytes on the disk and returns without waiting, so that
    // the move that commits it has less to do. Only a hint: a platform may do nothing.
    virtual void StartWritingOut(const StagedFile&) {}

    // Moves the staged file onto its final path in one step, replacing whatever file was there.
    virtual FileResult CommitStagedFile(const StagedFile& file) = 0;

    // Removes the staged file's temporary file; its final path stays as it is.
    virtual void DiscardStagedFile(const StagedFile& file) = 0;

    // nullopt when the system cannot say.
    virtual std::optional<std::string> WindowsDirectory() = 0;

    // The bytes of the file at `path` when it holds at most `limit` of them; a larger file, a
    // folder or a file that cannot be read fails with the reason (and no bytes).
    virtual FileRead ReadWholeFile(const std::string& path, std::size_t limit) = 0;

    // The absolute path `path` names, as Windows forms it before it opens anything: from the
    // current folder, with '.' and '..' taken by name; nullopt when it cannot be formed.
    virtual std::optional<std::string> FullPath(const std::string& path) = 0;

    // Whether any file-system entry (file or directory) exists at `path`.
    virtual bool PathExists(const std::string& path) = 0;

    // Creates one directory level; fails when the parent is missing or the entry exists.
    virtual FileResult CreateOneDirectory(const std::string& path) = 0;

    // Removes a directory that holds nothing; fails, changing nothing, when it holds anything.
    virtual FileResult RemoveEmptyDirectory(const std::string& path) = 0;

    // The names of the entries of a folder (`folder` ends in a separator), in no particular
    // order; empty when there are none or the folder cannot be read.
    virtual std::vector<std::string> FolderEntries(const std::string& folder) = 0;

    // The shell's folder browser with the whole namespace as root, owned by `owner`, which waits
    // for it as for a message box.
    virtual BrowsedFolder BrowseForFolder(const std::string& title, WindowRef owner) = 0;

    // The system's dialog for opening a file, owned by `owner` as the folder browser is,
    // offering `types` and then all files; the chosen file's path, or nullopt when the user
    // cancels.
    virtual std::optional<std::string> BrowseForFile(const std::string& title,
                                                     const std::vector<FileType>& types,
                                                     WindowRef owner) = 0;
};

}  // namespace usbwiz
