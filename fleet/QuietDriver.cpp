#include "fleet/QuietDriver.h"

#include "resources/StringIds.h"
#include "state/Messages.h"

namespace lanterna::fleet {

bool IWorkerDriver::Unoffered(int stringId, int flags) const {
    return !testMailOffered_ && stringId == kStringSendTestMailQuestion &&
           flags == kMessageYesNoQuestion;
}

int CQuietDriver::Run(WorkerMode mode, ApplicationState& state) {
    state.progressWindow = nullptr;
    state.messageService = this;
    const int result = RunWorker(mode, state);
    state.messageService = nullptr;
    return result;
}

int CQuietDriver::ShowMessage(IMessageTarget*, int stringId, int flags) {
    if (Unoffered(stringId, flags)) {
        return kAnswerNo;
    }
    if (flags != kMessageYesNoQuestion) {
        shown_.push_back({stringId, false, false});
        return kAnswerOk;
    }
    shown_.push_back({stringId, true, testMail_});
    return testMail_ ? kAnswerYes : kAnswerNo;
}

}  // namespace lanterna::fleet
