#pragma once
// The settings of each projector as read before every write, kept so that a half write or a
// mistake can be undone by applying them again, and a change log of what each write sent.
//
// <folder>/<hardware address>/<sequence>-<UTC time>.ini ("0000000042-20261208T100512.123Z.ini"):
// the sequence orders the entries, whatever the clocks of the writers said; the time is told.
// Entries named "<UTC time>-<n>.ini" before sequences came are read too, as older than any
// numbered one. Each is written for restoring (only settings that were read), created once and
// never replaced, in the kept mode (KeptFiles.h); the newest kHistoryEntriesKept per projector
// stay. Beside them, changes.log: one line per write, "TIME TAB ADDRESS TAB NAME TAB COMMANDS
// SENT (joined by "; ") TAB OUTCOME TAB USER@HOST", text from outside escaped so that a line
// stays a line. Several processes may keep and log in one folder at once (a team sharing
// LANTERNA_HISTORY_DIR): the projector's folder is locked while an entry is made and the oldest
// dropped, and while a line is added.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/ProcessEnvironment.h"
#include "record/ProjectorRecord.h"

namespace lanterna::fleet {

inline constexpr std::size_t kHistoryEntriesKept = 50;
// The change log keeps its newest lines within this many bytes.
inline constexpr std::size_t kChangeLogMaxBytes = 256 * 1024;

// $LANTERNA_HISTORY_DIR (a folder a team may share), else $XDG_STATE_HOME/lanterna/history, else
// $HOME/.local/state/lanterna/history; empty when none is set (nothing is kept then).
std::string HistoryFolder(const EnvironmentLookup& environment);

struct HistoryEntry {
    std::string path;
    std::string time;            // "20261208T100512.123Z"
    std::uint64_t sequence = 0;  // its place in the folder; 0 for a name without one
    int number = 0;              // the n of a name without a sequence
};

// Whether `a` was kept after `b` in one folder: by sequence, old names after their time.
bool NewerEntry(const HistoryEntry& a, const HistoryEntry& b);

class CHistory {
  public:
    explicit CHistory(std::string folder) : folder_(std::move(folder)) {}

    // Keeps `reported` (as read; its hardware address names the projector's folder) as the
    // newest entry at `now` and drops the oldest beyond the number kept. A text that no
    // settings file can hold (a name with a line feed) is kept escaped. kOk, with the entry's
    // path in `path`; kNotWritable when the projector has no usable hardware address, a folder
    // or the file cannot be made, or the folder stays locked by another writer.
    OutputStatus Keep(const ProjectorRecord& reported, std::chrono::system_clock::time_point now,
                      std::string* path = nullptr) const;

    // Adds the line of one write to the projector's change log, with who wrote it. kOk, else why
    // the line could not be added (kNotRegularFile: something other than a file stands there).
    OutputStatus LogWrite(const ProjectorRecord& reported,
                          std::chrono::system_clock::time_point now,
                          const std::vector<std::string>& sent, std::string_view outcome) const;

    // The entries of the projector with hardware address `mac` (12 hexadecimal digits, either
    // case), newest first.
    std::vector<HistoryEntry> Entries(std::string_view mac) const;

    // Entry `index` of Entries (0: the newest) read into `record` as a settings file; false when
    // there is none or it cannot be read.
    bool ReadEntry(std::string_view mac, std::size_t index, ProjectorRecord& record) const;

    // The lines of the projector's change log, oldest first.
    std::vector<std::string> ChangeLogLines(std::string_view mac) const;

    const std::string& Folder() const { return folder_; }

  private:
    std::optional<std::string> ProjectorFolder(std::string_view mac) const;

    std::string folder_;
};

// The entry's settings read as a settings file; false when it cannot be read.
bool ReadHistoryEntry(const HistoryEntry& entry, ProjectorRecord& record);

// "20261208T100512.123Z": the UTC time to the millisecond, as entry names and the log use it.
std::string HistoryTime(std::chrono::system_clock::time_point time);

}  // namespace lanterna::fleet
