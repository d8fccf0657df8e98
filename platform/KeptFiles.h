#pragma once
// The files that keep a site's settings and what was done to it (history entries, change logs,
// backups): one mode for all of them, entries that are created once and never replaced, a log
// that only grows at its end, and a lock on the folder for whoever changes what it holds.
//
// Mode: the owner's alone (0600, folders 0700). A set-gid folder that its group may write is a
// team's shared folder: there the group may read and write too (0660, folders 02770) and the
// folder's group owns what is made in it. Others may never read.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/FileDescriptor.h"

namespace lanterna {

// Whether `folder` is a team's shared folder (set-gid, writable by its group).
bool IsTeamFolder(const std::string& folder);

// 0660 in a team's folder, else 0600.
mode_t KeptFileMode(const std::string& folder);

// The mode of a folder made in `parent`: 02770 in a team's folder, else 0700.
mode_t KeptFolderMode(const std::string& parent);

// Makes `folder` with its missing parents; the folder itself, where the user owns it, takes the
// mode its parent calls for (02770 in a team's folder, else 0700). False when it is no folder
// afterwards.
bool MakeKeptFolder(const std::string& folder);

// Gives the open file `fd` in `folder` the kept mode (and the folder's group in a team's
// folder); false when it could not.
bool GiveKeptMode(int fd, const std::string& folder);

// How long a lock on a folder is waited for before the work is given up.
inline constexpr std::uint32_t kFolderLockWaitMs = 10000;

// An exclusive lock on a folder (flock on the folder itself), held until the object goes: one
// writer at a time keeps, trims or logs there, in this process or another.
class CFolderLock {
  public:
    explicit CFolderLock(const std::string& folder, std::uint32_t waitMs = kFolderLockWaitMs);
    bool Held() const { return held_; }

  private:
    FileDescriptor fd_;
    bool held_ = false;
};

// Writes `content` as the new file `path` in the kept mode: whole or not at all, and never over
// a file that exists (kNotWritable with errno EEXIST then).
OutputStatus CreateKeptFile(const std::string& path, std::string_view content);

// Many files written into one kept folder with one flush to the disk for all of them, where a
// flush per file would cost most of the work: each file is staged in a temporary file beside
// it (kept mode, the folder's group in a team's folder), then Commit flushes the folder's file
// system once and renames every staged file over its name, then flushes the folder. Each file
// is whole, old or new, after a crash at any point; staged files never committed are removed.
// A name that is a link, folder or other non-regular file is never replaced.
class CKeptFileBatch {
  public:
    explicit CKeptFileBatch(std::string folder);
    ~CKeptFileBatch();
    CKeptFileBatch(const CKeptFileBatch&) = delete;
    CKeptFileBatch& operator=(const CKeptFileBatch&) = delete;

    // Stages `content` as the file `name` of the folder; false when it could not be written.
    bool Stage(const std::string& name, std::string_view content);
    // Puts every staged file in place; the names that could not be, in the order staged.
    std::vector<std::string> Commit();

  private:
    struct Staged {
        std::string name;
        std::string temporary;
    };
    std::string folder_;
    std::vector<Staged> staged_;
};

// Adds `line` at the end of the log `path` (made in the kept mode when missing) in one write.
// A log that is a FIFO, device, folder or symbolic link is refused at once (kNotRegularFile),
// without waiting for anybody. `size` receives the log's size after the write.
OutputStatus AppendKeptLine(const std::string& path, std::string_view line,
                            std::uint64_t* size = nullptr);

// "user@host" of the process: who wrote a line of a log that a team shares.
std::string WriterName();

}  // namespace lanterna
