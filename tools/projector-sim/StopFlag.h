#pragma once
// A flag that ends every pause of the simulator's threads as soon as it is raised.

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace lanterna::sim {

class StopFlag {
  public:
    void Raise() {
        {
            std::lock_guard lock(mutex_);
            raised_ = true;
        }
        changed_.notify_all();
    }

    void Clear() {
        std::lock_guard lock(mutex_);
        raised_ = false;
    }

    bool Raised() const {
        std::lock_guard lock(mutex_);
        return raised_;
    }

    // Waits `duration`; false when the flag was raised before or during the wait.
    bool Pause(std::chrono::milliseconds duration) const {
        std::unique_lock lock(mutex_);
        return !changed_.wait_for(lock, duration, [this] { return raised_; });
    }

  private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool raised_ = false;
};

}  // namespace lanterna::sim
