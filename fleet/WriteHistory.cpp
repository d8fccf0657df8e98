#include "fleet/WriteHistory.h"

#include "fleet/History.h"
#include "fleet/WritePlan.h"
#include "workers/Workers.h"

namespace lanterna::fleet {

Outcome WriteWorkerOutcome(int workerResult, bool nothingDue) {
    switch (workerResult) {
        case 1:
            return nothingDue ? Outcome::kUnchanged : Outcome::kSet;
        case -1:
            return Outcome::kRefusedSome;
        case kWriteLinkLost:
            return Outcome::kPartlyWritten;
        case kWriteUnreadSetting:
            return Outcome::kRefused;
        default:
            return Outcome::kFailed;
    }
}

CWriteHistory::CWriteHistory(std::string folder, const ProjectorRecord& reported)
    : folder_(std::move(folder)), reported_(reported) {}

bool CWriteHistory::KeepBefore(const ProjectorRecord& toWrite) {
    // The test mail is a question the write asks on the way; the log lists the settings.
    lines_ = PlanWrite(toWrite, false);
    keptAt_ = std::chrono::system_clock::now();
    return folder_.empty() || lines_.empty() ||
           CHistory(folder_).Keep(reported_, keptAt_) == OutputStatus::kOk;
}

bool CWriteHistory::LogAfter(int workerResult) const {
    return folder_.empty() || lines_.empty() ||
           CHistory(folder_).LogWrite(reported_, keptAt_, lines_,
                                      OutcomeKey(WriteWorkerOutcome(workerResult, false))) ==
               OutputStatus::kOk;
}

}  // namespace lanterna::fleet
