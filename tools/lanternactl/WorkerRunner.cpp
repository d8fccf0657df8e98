#include "tools/lanternactl/WorkerRunner.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <thread>

#include "resources/StringTable.h"

namespace lanterna::cli {

namespace {

constexpr int kBarWidth = 30;

}  // namespace

std::string MessageText(int stringId) {
    return std::string(LoadString(stringId));
}

CWorkerRunner::CWorkerRunner(CliContext& context, std::function<int(int)> answerQuestion)
    : context_(context), answerQuestion_(std::move(answerQuestion)) {}

void CWorkerRunner::PostMessage(std::uint32_t message, std::intptr_t wParam) {
    {
        std::lock_guard guard(mutex_);
        messages_.push_back({message, wParam});
    }
    changed_.notify_all();
}

// Called on the worker's thread: hands the message to the command's thread and waits there.
int CWorkerRunner::ShowMessage(IMessageTarget*, int stringId, int flags) {
    if (Unoffered(stringId, flags)) {
        return kAnswerNo;
    }
    std::unique_lock lock(mutex_);
    question_ = Question{stringId, flags};
    answer_.reset();
    changed_.notify_all();
    changed_.wait(lock, [this] { return answer_.has_value(); });
    const int answer = *answer_;
    answer_.reset();
    return answer;
}

int CWorkerRunner::Answer(const Question& question) {
    const std::string text = MessageText(question.stringId);
    if (question.flags != kMessageYesNoQuestion) {
        context_.err << text << "\n";
        return kAnswerOk;
    }
    const int answer = answerQuestion_ ? answerQuestion_(question.stringId) : kAnswerNo;
    return answer == kAnswerYes ? kAnswerYes : kAnswerNo;
}

void CWorkerRunner::DrawProgress(int percent) {
    if (!context_.errIsTerminal) {
        return;
    }
    const int clamped = std::clamp(percent, 0, 100);
    const int filled = clamped * kBarWidth / 100;
    context_.err << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
                 << std::string(static_cast<std::size_t>(kBarWidth - filled), '.') << "] "
                 << clamped << "%" << std::flush;
}

int CWorkerRunner::Run(WorkerMode mode, ApplicationState& state) {
    state.progressWindow = this;
    state.messageService = this;
    const std::uint32_t resultMessage = ResultMessageOf(mode);
    std::thread worker([mode, &state] { RunWorker(mode, state); });

    int progress = 0;
    std::optional<int> result;
    std::unique_lock lock(mutex_);
    DrawProgress(progress);
    while (!result) {
        changed_.wait(lock, [this] { return !messages_.empty() || question_.has_value(); });
        if (question_) {
            const Question question = *question_;
            question_.reset();
            lock.unlock();
            if (context_.errIsTerminal) {
                context_.err << "\n";
            }
            const int answer = Answer(question);
            lock.lock();
            answer_ = answer;
            changed_.notify_all();
            continue;
        }
        const PostedMessage message = messages_.front();
        messages_.pop_front();
        if (message.message == kMessageProgress) {
            progress += static_cast<int>(message.wParam);
            DrawProgress(progress);
        } else if (message.message == resultMessage) {
            result = static_cast<int>(message.wParam);
        }
    }
    lock.unlock();
    worker.join();
    if (context_.errIsTerminal) {
        context_.err << "\n";
    }
    state.progressWindow = nullptr;
    state.messageService = nullptr;
    return *result;
}

}  // namespace lanterna::cli
