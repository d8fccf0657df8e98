#pragma once
// The watcher's backups: the settings file of every projector read, kept in one folder under
// version control, beside an index (file, address, name, both hardware addresses) that diff and
// restore read as they read a backup folder's. A round writes what it read, says per projector
// what changed in words, and commits only when something did. A projector that could not be
// read keeps its last file; it is never replaced by an empty one.

#include <string>
#include <vector>

#include "fleet/SiteDiff.h"
#include "fleet/SiteRead.h"

namespace lanterna::watch {

// The versions of the backup folder. The git adapter keeps them in a git repository.
// Threads: one call at a time.
class IVersionStore {
  public:
    virtual ~IVersionStore() = default;
    enum class Result { kCommitted, kUnchanged, kFailed };
    // Makes the folder a repository when it is not one yet; false with why in `problem`.
    virtual bool Prepare(std::string& problem) = 0;
    // Commits every change of the folder with `message`; kUnchanged when there was none.
    virtual Result Commit(const std::string& message, std::string& problem) = 0;
};

// One projector's part of a round.
struct BackupChange {
    std::size_t reading = 0;  // index into the round's readings
    std::string name;
    std::vector<std::string> changes;  // "community public → ops1"; empty when nothing changed
    bool isNew = false;                // no earlier file of it (read or not)
    bool notRead = false;              // its last file was kept
    bool notWritten = false;           // read, but its file could not be written
};

struct BackupRoundResult {
    std::vector<BackupChange> projectors;  // one per reading
    bool indexWritten = true;
    // "ROOM-201: community public → ops1" per projector that changed, was new or was not read,
    // after a summary line.
    std::string message;

    std::size_t ChangedCount() const;
};

// The index of the backup folder.
inline constexpr std::string_view kRepositoryIndexName = "index.csv";

// Writes `readings` into `folder` (which exists) and returns what changed; commits nothing.
BackupRoundResult WriteRepositoryBackup(const std::string& folder,
                                        const std::vector<fleet::SiteReading>& readings);

// The differences of two records in words: "community public → ops1"; a key only as
// "wepKey1 changed".
std::vector<std::string> ChangeWords(const ProjectorRecord& before, const ProjectorRecord& after);

// The same words of any differences, a key's value never shown.
std::vector<std::string> DifferenceWords(const std::vector<fleet::SettingDifference>& differences);

}  // namespace lanterna::watch
