#pragma once
// The history of one write that the window runs through the write worker itself (a projector's
// settings dialog, a settings file dropped on it): the settings as read are kept before anything
// is sent, and the write's line goes to the change log once it has ended, as the writes of
// CFleetWrite do (History.h).

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/Outcome.h"
#include "record/ProjectorRecord.h"

namespace lanterna::fleet {

// The outcome of a write from the write worker's result (Workers.h), `nothingDue` when the
// write had no command to send.
Outcome WriteWorkerOutcome(int workerResult, bool nothingDue);

class CWriteHistory {
  public:
    // `folder` as HistoryFolder gives it (empty: nothing is kept); `reported`: the projector's
    // settings as read, its hardware address naming its entries.
    CWriteHistory(std::string folder, const ProjectorRecord& reported);

    // Keeps the settings as read before `toWrite` (the record as the write worker will take it)
    // is written. False when they could not be kept: then nothing may be sent. True without
    // keeping anything when no history folder is set or the write has nothing to send.
    bool KeepBefore(const ProjectorRecord& toWrite);

    // Adds the write's line to the change log: the commands planned in KeepBefore and the
    // outcome of the write worker's `workerResult`. A log that cannot take it undoes nothing:
    // false then, for the user to be told.
    bool LogAfter(int workerResult) const;

    const std::string& Folder() const { return folder_; }

  private:
    std::string folder_;
    ProjectorRecord reported_;
    std::vector<std::string> lines_;
    std::chrono::system_clock::time_point keptAt_{};
};

}  // namespace lanterna::fleet
