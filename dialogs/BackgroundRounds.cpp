#include "dialogs/BackgroundRounds.h"

#include <system_error>
#include <utility>

namespace lanterna::dialogs {

CBackgroundRounds::CBackgroundRounds(Prepare prepare, QObject* parent)
    : QObject(parent), prepare_(std::move(prepare)) {
    connect(&timer_, &QTimer::timeout, this, [this] { StartRound(); });
}

CBackgroundRounds::~CBackgroundRounds() {
    Stop();
}

void CBackgroundRounds::Start(int periodMs) {
    timer_.start(periodMs);
}

void CBackgroundRounds::Stop() {
    timer_.stop();
    Join();
}

void CBackgroundRounds::SetPaused(bool paused) {
    paused_ = paused;
    if (paused) {
        Join();
    }
}

void CBackgroundRounds::RunSoon() {
    if (soon_) {
        return;
    }
    soon_ = true;
    QTimer::singleShot(0, this, [this] {
        soon_ = false;
        StartRound();
    });
}

void CBackgroundRounds::Join() {
    cancel_ = true;
    if (worker_.joinable()) {
        worker_.join();
    }
    cancel_ = false;
    if (running_) {
        running_ = false;
        ++generation_;  // what the round already posted, if anything, is dropped
    }
}

void CBackgroundRounds::StartRound() {
    if (paused_ || running_ || !prepare_) {
        return;
    }
    if (worker_.joinable()) {
        worker_.join();  // the last round has posted its result and is about to end
    }
    Work work = prepare_();
    if (!work) {
        return;
    }
    running_ = true;
    const unsigned generation = generation_;
    try {
        worker_ = std::thread([this, generation, work = std::move(work)] {
            Delivery delivery = work(cancel_);
            QMetaObject::invokeMethod(
                this,
                [this, generation, delivery = std::move(delivery)] {
                    if (generation != generation_ || !running_) {
                        return;
                    }
                    running_ = false;
                    ++roundsDone_;
                    if (delivery) {
                        delivery();
                    }
                },
                Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        running_ = false;  // no thread now; the next period tries again
    }
}

}  // namespace lanterna::dialogs
