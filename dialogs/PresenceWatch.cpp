#include "dialogs/PresenceWatch.h"

#include <system_error>
#include <utility>

namespace lanterna::dialogs {

CPresenceWatch::CPresenceWatch(Round round, Listed listed, Outcome outcome, QObject* parent)
    : QObject(parent),
      round_(std::move(round)),
      listed_(std::move(listed)),
      outcome_(std::move(outcome)) {
    connect(&timer_, &QTimer::timeout, this, [this] { StartRound(); });
}

CPresenceWatch::~CPresenceWatch() {
    timer_.stop();
    Join();
}

void CPresenceWatch::Start(int periodMs) {
    timer_.start(periodMs);
}

void CPresenceWatch::Stop() {
    timer_.stop();
    Join();
}

void CPresenceWatch::Pause() {
    paused_ = true;
    Join();
}

void CPresenceWatch::Resume() {
    paused_ = false;
}

void CPresenceWatch::Join() {
    if (worker_.joinable()) {
        worker_.join();
    }
    if (running_) {
        running_ = false;
        ++generation_;  // the outcome already posted, if any, is dropped
    }
}

void CPresenceWatch::StartRound() {
    if (paused_ || running_ || !round_) {
        return;
    }
    if (worker_.joinable()) {
        worker_.join();  // the last round has posted its outcome and is about to end
    }
    std::vector<std::string> addresses = listed_ ? listed_() : std::vector<std::string>{};
    if (addresses.empty()) {
        return;
    }
    running_ = true;
    const unsigned generation = generation_;
    try {
        worker_ = std::thread([this, generation, addresses = std::move(addresses)] {
            std::vector<bool> answered = round_(addresses);
            QMetaObject::invokeMethod(
                this,
                [this, generation, addresses, answered = std::move(answered)] {
                    if (generation != generation_ || !running_) {
                        return;
                    }
                    running_ = false;
                    ++roundsDone_;
                    if (outcome_ && !answered.empty()) {
                        outcome_(addresses, answered);
                    }
                },
                Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        running_ = false;  // no thread now; the next period tries again
    }
}

}  // namespace lanterna::dialogs
