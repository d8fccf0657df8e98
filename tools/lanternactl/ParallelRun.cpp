#include "tools/lanternactl/ParallelRun.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace lanterna::cli {

void RunBounded(std::size_t count, int jobs, const std::function<void(std::size_t)>& work,
                const std::function<void(std::size_t)>& done) {
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t finished = 0;
    const auto threadCount =
        std::min<std::size_t>(count, static_cast<std::size_t>(std::clamp(jobs, 1, kMaxJobs)));
    const auto drain = [&] {
        for (std::size_t item = next++; item < count; item = next++) {
            work(item);
            {
                std::lock_guard guard(mutex);
                ++finished;
            }
            changed.notify_all();
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(threadCount);
    for (std::size_t t = 0; t < threadCount; ++t) {
        try {
            threads.emplace_back(drain);
        } catch (const std::system_error&) {
            break;  // the system has no more threads to give: the ones started do it all
        }
    }
    if (threads.empty()) {
        drain();
    }
    std::size_t reported = 0;
    {
        std::unique_lock lock(mutex);
        while (reported < count) {
            changed.wait(lock, [&] { return finished != reported; });
            reported = finished;
            if (done) {
                lock.unlock();
                done(reported);
                lock.lock();
            }
        }
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    if (done && count == 0) {
        done(0);
    }
}

}  // namespace lanterna::cli
