#pragma once
// A backup of a site's projectors: one settings file per projector read, in a folder of its own
// for each run, beside an index. The window's "Save settings files..." and lanternactl backup
// make the same backup, and lanternactl restore reads it.
//
//     DIR/20250314T101500Z/index.csv
//     DIR/20250314T101500Z/ROOM-201_02000A4E0101.ini
//
// A file holds only the settings that were read (what a restore may send back); the files and
// the run's folder take the kept mode (KeptFiles.h): the owner's alone, or a team's in its
// shared folder. What a projector never reports (its password, the
// WPA-PSK passphrase, the LEAP user name and password) no backup can hold; the index says so
// per projector. A run never writes over anything: its folder is new, named by the UTC time
// (with "-2", "-3", ... when that name is taken).

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/SiteRead.h"
#include "platform/AtomicFile.h"

namespace lanterna::fleet {

inline constexpr std::string_view kBackupIndexName = "index.csv";

// The columns of the index: the settings file (empty when none was written), where the projector
// was, its name, the hardware addresses of both interfaces where known, when it was read, what
// became of it ("saved", or an outcome key such as "not answering", or "not written"), and what
// the file cannot hold.
std::vector<std::string_view> BackupIndexColumns();

// What a projector has that its settings file cannot hold.
enum class NotKept {
    kPassword,       // the projector asks for a password
    kPskPassphrase,  // its wireless LAN uses WPA-PSK
    kLeapSecrets,    // its wireless LAN uses LEAP
};

struct BackupEntry {
    SiteReading reading;
    std::string file;  // the settings file's name in the run's folder; empty when none
    OutputStatus written = OutputStatus::kOk;  // of the settings file
    std::vector<NotKept> notKept;

    bool Saved() const { return !file.empty() && written == OutputStatus::kOk; }
};

struct BackupRun {
    // kOk, or why the run's folder could not be made (nothing was written then).
    OutputStatus folderStatus = OutputStatus::kOk;
    std::string folder;                // the run's folder: the parent, a slash, the UTC time
    std::vector<BackupEntry> entries;  // one per target, in their order
    OutputStatus indexStatus = OutputStatus::kOk;

    std::size_t SavedCount() const;
};

// Reads every target (all settings, both hardware addresses) within the bounds of `control`, and
// writes the backup into a new folder under `parent`, which must exist. The one call of a
// backup; the window runs it off its user-interface thread.
BackupRun BackUpProjectors(const FleetNetwork& network, IPasswordSource& passwords,
                           std::vector<Target> targets, const std::string& parent,
                           const RunControl& control);

// Writes the backup of projectors already read (BackUpProjectors' second half): a new folder
// under `parent` named by `now` in UTC, the settings file of every reading that was read, and the
// index.
BackupRun WriteBackup(const std::string& parent, std::vector<SiteReading> readings,
                      std::chrono::system_clock::time_point now);

// The name of the settings file of a projector: its name (letters, digits and '-' kept, any
// other byte as '_'; "projector" when it has none), '_', its hardware address, ".ini".
std::string BackupFileName(std::string_view name, std::string_view mac);

// What `record` (as read, `passwordSet` when the projector asked for a password) holds that no
// settings file can.
std::vector<NotKept> NotKeptOf(const ProjectorRecord& record, bool passwordSet);

// "password", "WPA-PSK passphrase", "LEAP user name and password": the same in every language
// (the index's words).
std::string_view NotKeptKey(NotKept what);

// The run folder's name for `now`: "20250314T101500Z".
std::string BackupFolderName(std::chrono::system_clock::time_point now);

}  // namespace lanterna::fleet
