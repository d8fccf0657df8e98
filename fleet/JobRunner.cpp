#include "fleet/JobRunner.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace lanterna::fleet {

namespace {

// The shared state of one run: which item starts next, what has finished.
class CJobRun {
  public:
    CJobRun(std::size_t count, const RunBounds& bounds) : count_(count), bounds_(bounds) {}

    // The next item to start, or none when all have started or the bounds stop the starting.
    // Taken under the lock that counts failures, so that no item starts after the bound is met.
    std::optional<std::size_t> Take() {
        std::lock_guard guard(mutex_);
        const bool cancelled = bounds_.cancel != nullptr && bounds_.cancel->load();
        const bool failedEnough = bounds_.maxFailures != 0 && failures_ >= bounds_.maxFailures;
        if (next_ >= count_ || cancelled || failedEnough) {
            return std::nullopt;
        }
        return next_++;
    }

    void Finish(std::size_t item, bool succeeded) {
        {
            std::lock_guard guard(mutex_);
            failures_ += succeeded ? 0 : 1;
            done_.push_back(item);
        }
        changed_.notify_all();
    }

    // Runs items until none is left to take.
    void Drain(const std::function<bool(std::size_t)>& work) {
        while (const auto item = Take()) {
            Finish(*item, work(*item));
        }
    }

    void ThreadEnded() {
        {
            std::lock_guard guard(mutex_);
            --running_;
        }
        changed_.notify_all();
    }

    void SetRunning(std::size_t threads) { running_ = threads; }

    // Tells of finished items on this thread until every thread has ended and all are told.
    void Report(const std::function<void(std::size_t, std::size_t)>& finished) {
        std::unique_lock lock(mutex_);
        while (true) {
            changed_.wait(lock, [this] { return !done_.empty() || running_ == 0; });
            if (done_.empty()) {
                return;
            }
            const std::size_t item = done_.front();
            done_.pop_front();
            const std::size_t told = ++told_;
            if (finished) {
                lock.unlock();
                finished(item, told);
                lock.lock();
            }
        }
    }

    RunSummary Summary() {
        std::lock_guard guard(mutex_);
        return {next_, failures_};
    }

  private:
    const std::size_t count_;
    const RunBounds& bounds_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t next_ = 0;
    std::size_t failures_ = 0;
    std::size_t running_ = 0;
    std::size_t told_ = 0;
    std::deque<std::size_t> done_;
};

}  // namespace

RunSummary RunJobs(std::size_t count, const RunBounds& bounds,
                   const std::function<bool(std::size_t)>& work,
                   const std::function<void(std::size_t, std::size_t)>& finished) {
    CJobRun run(count, bounds);
    if (bounds.onCallingThread) {
        while (const auto item = run.Take()) {
            run.Finish(*item, work(*item));
            run.Report(finished);
        }
        return run.Summary();
    }
    const auto threadCount = std::min<std::size_t>(
        count, static_cast<std::size_t>(std::clamp(bounds.jobs, 1, kMaxJobs)));
    run.SetRunning(threadCount);
    std::vector<std::thread> threads;
    threads.reserve(threadCount);
    for (std::size_t t = 0; t < threadCount; ++t) {
        try {
            threads.emplace_back([&run, &work] {
                run.Drain(work);
                run.ThreadEnded();
            });
        } catch (const std::system_error&) {
            run.ThreadEnded();  // the system has no more threads to give: the others do it all
        }
    }
    if (threads.empty()) {
        run.SetRunning(0);
        while (const auto item = run.Take()) {
            run.Finish(*item, work(*item));
            run.Report(finished);
        }
    }
    run.Report(finished);
    for (std::thread& thread : threads) {
        thread.join();
    }
    return run.Summary();
}

}  // namespace lanterna::fleet
