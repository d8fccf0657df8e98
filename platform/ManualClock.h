#pragma once
// A tick clock that moves only when told to. Tests use it to run schedules measured in minutes
// (the link's keep-alive) in a few milliseconds of real time; simulations may use it too.
//
// Waits through WaitFor end when the clock has been advanced far enough; Advance wakes them.
// WaitsStarted/AwaitWaitsStarted let a test step the clock in lock-step with a thread that
// waits periodically: advance, then wait until the thread has come back to its next wait.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

#include "platform/TickClock.h"

namespace lanterna {

class CManualClock final : public CTickClock {
  public:
    explicit CManualClock(Tick start = 0);

    // The current tick. With an automatic step set, the clock then moves on by that step, so
    // every reading is later than the one before.
    Tick Now() override;

    bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& condition,
                 std::uint32_t milliseconds, const std::function<bool()>& ready) override;

    // Moves the clock on and wakes every waiter so that it can look at the new time.
    void Advance(std::uint32_t milliseconds);

    // Every later Now() moves the clock on by `milliseconds` after reading it (0: off). Waiters
    // notice the time only when they read it themselves, so use this only where nothing blocks
    // on the clock for long.
    void SetAutomaticStep(std::uint32_t milliseconds);

    // How many waits have begun so far.
    std::uint64_t WaitsStarted();

    // Blocks for at most `limit` of real time until WaitsStarted() >= count; returns whether it
    // got there.
    bool AwaitWaitsStarted(std::uint64_t count, std::chrono::milliseconds limit);

  private:
    struct Waiter {
        std::mutex* mutex;
        std::condition_variable* condition;
    };

    void Register(Waiter* waiter);
    void Unregister(Waiter* waiter);

    std::atomic<Tick> now;
    std::atomic<std::uint32_t> automaticStep{0};

    // Guards waiters and waitsStarted. Lock order: waitersMutex, then a waiter's own mutex; a
    // waiter never holds its own mutex while taking waitersMutex.
    std::mutex waitersMutex;
    std::condition_variable waitsChanged;
    std::vector<Waiter*> waiters;
    std::uint64_t waitsStarted = 0;
};

}  // namespace lanterna
