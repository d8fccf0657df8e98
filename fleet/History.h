#pragma once
// The settings of each projector as read before every write, kept so that a half write or a
// mistake can be undone by applying them again, and a change log of what each write sent.
//
// <folder>/<hardware address>/<UTC time>-<n>.ini, the time to the millisecond
// ("20261208T100512.123Z-1.ini", n telling apart entries of one millisecond), each written
// for restoring (only settings that were read) and readable by its owner alone; the newest
// kHistoryEntriesKept per projector stay. Beside them, changes.log: one line per write, "TIME
// TAB ADDRESS TAB NAME TAB COMMANDS SENT (joined by "; ") TAB OUTCOME", text from the projector
// escaped so that a line stays a line.

#include <chrono>
#include <cstddef>
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

// $XDG_STATE_HOME/lanterna/history, else $HOME/.local/state/lanterna/history; empty when
// neither is set (nothing is kept then).
std::string HistoryFolder(const EnvironmentLookup& environment);

struct HistoryEntry {
    std::string path;
    std::string time;  // "20261208T100512.123Z"
    int number = 0;    // the n of its name
};

class CHistory {
  public:
    explicit CHistory(std::string folder) : folder_(std::move(folder)) {}

    // Keeps `reported` (as read; its hardware address names the projector's folder) as the
    // newest entry at `now` and drops the oldest beyond the number kept. kOk, with the entry's
    // path in `path`; kNotWritable when the projector has no usable hardware address or a
    // folder or the file cannot be made.
    OutputStatus Keep(const ProjectorRecord& reported, std::chrono::system_clock::time_point now,
                      std::string* path = nullptr) const;

    // Adds the line of one write to the projector's change log.
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
