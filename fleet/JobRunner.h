#pragma once
// Work on many projectors, with bounds: items start in their order, on at most `jobs` threads at
// once (or one after the other on the calling thread), and the caller learns of each item as it
// finishes. A cancellation flag and a bound on failures stop the starting of new items; an item
// under way always runs to its end, so that a projector is never left in the middle of a write.
//
// Threads: `work` runs on the pool's threads (or the calling thread), one call per item started;
// `finished` runs on the calling thread, one call at a time. The cancellation flag may be set
// from any thread.

#include <atomic>
#include <cstddef>
#include <functional>

namespace lanterna::fleet {

// Default and largest bound of the projectors worked on at once.
inline constexpr int kDefaultJobs = 16;
inline constexpr int kMaxJobs = 128;

struct RunBounds {
    // At most this many items at once (taken into 1 to kMaxJobs).
    int jobs = kDefaultJobs;
    // One item after the other on the calling thread, no pool: for a driver that must stay on
    // the caller's thread (a terminal's progress bar and questions).
    bool onCallingThread = false;
    // No item starts once this many have failed; 0 sets no bound.
    std::size_t maxFailures = 0;
    // No item starts once it is true; null: never cancelled.
    const std::atomic<bool>* cancel = nullptr;
};

struct RunSummary {
    // Items 0 to started - 1 ran; the rest never started.
    std::size_t started = 0;
    std::size_t failures = 0;
};

// Runs `work(i)` for the items i below `count`, in order, until all have run or the bounds stop
// the starting, and returns when every item started has returned. `work` tells whether its item
// succeeded. `finished(i, done)` follows each item i on the calling thread, `done` being the
// number of items finished so far.
RunSummary RunJobs(
    std::size_t count, const RunBounds& bounds, const std::function<bool(std::size_t item)>& work,
    const std::function<void(std::size_t item, std::size_t done)>& finished = nullptr);

}  // namespace lanterna::fleet
