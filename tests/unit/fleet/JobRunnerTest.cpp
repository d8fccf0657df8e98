// The job runner: items in order, at most N at once, each told as it finishes on the caller's
// thread; a cancellation flag and a bound on failures stop the starting of new items, never an
// item under way.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <latch>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "fleet/JobRunner.h"

namespace lanterna::fleet {
namespace {

// What a run did, as the work and the finished calls saw it.
struct Observed {
    std::mutex mutex;
    std::vector<std::size_t> worked;  // in the order the calls began
    std::vector<std::size_t> told;    // finished calls, in order
    std::vector<std::size_t> done;    // their counts
    bool toldElsewhere = false;       // a finished call on another thread than the caller's
};

TEST(JobRunner, BoundsDecideWhichItemsStart) {
    constexpr std::size_t kNever = 1000;
    const struct {
        std::string what;
        std::size_t count;
        std::size_t maxFailures;
        std::set<std::size_t> failing;
        bool cancelledBefore;
        std::size_t cancelDuring;  // the work of this item sets the flag
        std::size_t started;
        std::size_t failures;
    } cases[] = {
        {"all", 5, 0, {}, false, kNever, 5, 0},
        {"none", 0, 0, {}, false, kNever, 0, 0},
        {"failures without a bound", 5, 0, {0, 1, 2, 3}, false, kNever, 5, 4},
        {"stops at the second failure", 6, 2, {1, 3, 4}, false, kNever, 4, 2},
        {"a bound not reached", 6, 3, {1, 3}, false, kNever, 6, 2},
        {"cancelled during the third", 6, 0, {}, false, 2, 3, 0},
        {"cancelled before the first", 6, 0, {}, true, kNever, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::atomic<bool> cancel{c.cancelledBefore};
        RunBounds bounds;
        bounds.onCallingThread = true;
        bounds.maxFailures = c.maxFailures;
        bounds.cancel = &cancel;
        Observed seen;
        const auto caller = std::this_thread::get_id();
        const RunSummary summary = RunJobs(
            c.count, bounds,
            [&](std::size_t item) {
                seen.worked.push_back(item);
                if (item == c.cancelDuring) {
                    cancel = true;
                }
                return !c.failing.contains(item);
            },
            [&](std::size_t item, std::size_t done) {
                seen.toldElsewhere |= std::this_thread::get_id() != caller;
                seen.told.push_back(item);
                seen.done.push_back(done);
            });
        EXPECT_EQ(summary.started, c.started);
        EXPECT_EQ(summary.failures, c.failures);
        std::vector<std::size_t> expected(c.started);
        for (std::size_t i = 0; i < c.started; ++i) {
            expected[i] = i;
        }
        EXPECT_EQ(seen.worked, expected) << "in order, the started ones only";
        EXPECT_EQ(seen.told, expected);
        for (std::size_t i = 0; i < seen.done.size(); ++i) {
            EXPECT_EQ(seen.done[i], i + 1);
        }
        EXPECT_FALSE(seen.toldElsewhere);
    }
}

// Four at once: the first four wait for each other, so all four run together; no fifth runs
// beside them, and no more than four threads do the work.
TEST(JobRunner, AtMostJobsAtOnceEachToldOnTheCallersThread) {
    constexpr int kJobs = 4;
    constexpr std::size_t kCount = 12;
    std::latch firstFour(kJobs);
    std::atomic<int> running{0};
    std::atomic<int> most{0};
    Observed seen;
    std::set<std::thread::id> threads;
    const auto caller = std::this_thread::get_id();
    RunBounds bounds;
    bounds.jobs = kJobs;
    const RunSummary summary = RunJobs(
        kCount, bounds,
        [&](std::size_t item) {
            const int now = ++running;
            int before = most.load();
            while (now > before && !most.compare_exchange_weak(before, now)) {
            }
            if (item < static_cast<std::size_t>(kJobs)) {
                firstFour.arrive_and_wait();
            }
            {
                std::lock_guard guard(seen.mutex);
                seen.worked.push_back(item);
                threads.insert(std::this_thread::get_id());
            }
            --running;
            return item % 3 != 0;
        },
        [&](std::size_t item, std::size_t done) {
            seen.toldElsewhere |= std::this_thread::get_id() != caller;
            seen.told.push_back(item);
            seen.done.push_back(done);
        });
    EXPECT_EQ(most.load(), kJobs);
    EXPECT_LE(threads.size(), static_cast<std::size_t>(kJobs));
    EXPECT_EQ(summary.started, kCount);
    EXPECT_EQ(summary.failures, 4U);  // 0, 3, 6, 9
    std::sort(seen.worked.begin(), seen.worked.end());
    std::sort(seen.told.begin(), seen.told.end());
    std::vector<std::size_t> all(kCount);
    for (std::size_t i = 0; i < kCount; ++i) {
        all[i] = i;
    }
    EXPECT_EQ(seen.worked, all);
    EXPECT_EQ(seen.told, all) << "each item told once";
    EXPECT_EQ(seen.done.back(), kCount);
    EXPECT_FALSE(seen.toldElsewhere);
}

// With several at once, items under way when the bound is met still finish, and no item starts
// after it: every item fails, so at most jobs - 1 start beside the one that met the bound.
TEST(JobRunner, NoItemStartsOnceFailuresMeetTheBound) {
    constexpr int kJobs = 3;
    constexpr std::size_t kBound = 4;
    std::atomic<std::size_t> calls{0};
    RunBounds bounds;
    bounds.jobs = kJobs;
    bounds.maxFailures = kBound;
    std::size_t told = 0;
    const RunSummary summary = RunJobs(
        100, bounds,
        [&](std::size_t) {
            ++calls;
            return false;
        },
        [&](std::size_t, std::size_t) { ++told; });
    EXPECT_GE(summary.started, kBound);
    EXPECT_LE(summary.started, kBound + kJobs - 1);
    EXPECT_EQ(summary.failures, summary.started);
    EXPECT_EQ(calls.load(), summary.started);
    EXPECT_EQ(told, summary.started);
}

}  // namespace
}  // namespace lanterna::fleet
