#pragma once
// Runs the workers of one target on the calling thread and shows nothing: the test-mail question
// gets a fixed answer, and the messages the workers show are kept, as string ids, for the
// target's result.

#include <vector>

#include "fleet/WorkerDriver.h"
#include "state/MessageService.h"

namespace lanterna::fleet {

class CQuietDriver final : public IWorkerDriver, public IMessageService {
  public:
    explicit CQuietDriver(bool testMail) : testMail_(testMail) {}
    int Run(WorkerMode mode, ApplicationState& state) override;
    int ShowMessage(IMessageTarget* owner, int stringId, int flags) override;
    std::vector<ShownMessage> Kept() const override { return shown_; }

  private:
    bool testMail_;
    std::vector<ShownMessage> shown_;
};

}  // namespace lanterna::fleet
