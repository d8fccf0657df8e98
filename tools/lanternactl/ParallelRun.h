#pragma once
// Work on many targets at once, with a bound: each item runs on one of at most `jobs` threads,
// in the order of the items, and the caller learns how many are done as they finish.
//
// Threads: `work` runs on the pool's threads, at most one call per item; `done` runs on the
// calling thread, one call at a time.

#include <cstddef>
#include <functional>

namespace lanterna::cli {

// Default and largest bound of -j.
inline constexpr int kDefaultJobs = 16;
inline constexpr int kMaxJobs = 128;

// Calls `work(i)` for every i below `count` on at most `jobs` threads and returns when every
// call has returned. `done(finished)` is called on this thread after items finish (not
// necessarily once per item, but at least once with `count` at the end).
void RunBounded(std::size_t count, int jobs, const std::function<void(std::size_t)>& work,
                const std::function<void(std::size_t)>& done = nullptr);

}  // namespace lanterna::cli
