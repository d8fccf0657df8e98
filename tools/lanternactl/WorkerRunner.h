#pragma once
// Runs one link worker for a lanternactl command the way the progress window does: the worker
// on a thread of its own, posting to this runner; this thread draws the accumulated progress on
// standard error (when it is a terminal) and answers the worker's messages, so that every
// stream of the command is used by one thread only.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include "fleet/WorkerDriver.h"
#include "state/ApplicationState.h"
#include "state/MessageQueue.h"
#include "tools/lanternactl/CliContext.h"
#include "workers/Workers.h"

namespace lanterna::cli {

class CWorkerRunner final : public fleet::IWorkerDriver,
                            public IMessageTarget,
                            public IMessageService {
  public:
    // `answerQuestion` answers a Yes/No message (string id) on this thread; null answers No.
    CWorkerRunner(CliContext& context, std::function<int(int stringId)> answerQuestion = nullptr);

    // Runs the worker of `mode` on `state` and returns its result. Messages the worker shows
    // are written to standard error.
    int Run(WorkerMode mode, ApplicationState& state) override;

    void PostMessage(std::uint32_t message, std::intptr_t wParam) override;
    int ShowMessage(IMessageTarget* owner, int stringId, int flags) override;

  private:
    struct Question {
        int stringId = 0;
        int flags = 0;
    };
    void DrawProgress(int percent);
    int Answer(const Question& question);

    CliContext& context_;
    std::function<int(int)> answerQuestion_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<PostedMessage> messages_;
    std::optional<Question> question_;
    std::optional<int> answer_;
};

// The text of a string-table message as lanternactl prints it.
std::string MessageText(int stringId);

}  // namespace lanterna::cli
