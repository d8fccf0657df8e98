#include "keyring/CallDeadline.h"

namespace lanterna::keyring {

CCallDeadline::CCallDeadline(const SecretLibrary& calls, std::chrono::milliseconds limit)
    : calls_(calls), cancellable_(calls.cancellableNew()), watcher_([this, limit] {
          std::unique_lock lock(mutex_);
          if (!ended_.wait_for(lock, limit, [this] { return done_; })) {
              calls_.cancellableCancel(cancellable_);
          }
      }) {}

CCallDeadline::~CCallDeadline() {
    {
        const std::lock_guard lock(mutex_);
        done_ = true;
    }
    ended_.notify_one();
    watcher_.join();
    calls_.objectUnref(cancellable_);
}

}  // namespace lanterna::keyring
