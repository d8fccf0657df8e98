#include "keyring/CallDeadline.h"

namespace lanterna::keyring {

CCallDeadline::CCallDeadline(std::chrono::milliseconds limit)
    : cancellable_(g_cancellable_new()), watcher_([this, limit] {
          std::unique_lock lock(mutex_);
          if (!ended_.wait_for(lock, limit, [this] { return done_; })) {
              g_cancellable_cancel(cancellable_);
          }
      }) {}

CCallDeadline::~CCallDeadline() {
    {
        const std::lock_guard lock(mutex_);
        done_ = true;
    }
    ended_.notify_one();
    watcher_.join();
    g_object_unref(cancellable_);
}

}  // namespace lanterna::keyring
