#pragma once
// The millisecond tick counter with which the link measures idle time, and the timed waits that
// go with it. Ticks are a 32-bit count that wraps after about 49.7 days: compare two ticks only
// by their unsigned difference (later - earlier), which stays right across the wrap.
//
// Every timed wait of code that must be testable on a simulated schedule goes through the clock
// (WaitFor), so that a test clock decides when such a wait has lasted long enough.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace lanterna {

using Tick = std::uint32_t;

// Milliseconds from `earlier` to `later`, correct across the wrap of the counter.
inline std::uint32_t TicksBetween(Tick earlier, Tick later) {
    return later - earlier;
}

// Thread-safe: Now and WaitFor may be called from any number of threads at once.
class CTickClock {
  public:
    virtual ~CTickClock() = default;

    // The current tick; never goes backwards (apart from the 32-bit wrap).
    virtual Tick Now() = 0;

    // Blocks on `condition`, whose mutex `lock` holds, until `ready()` is true or `milliseconds`
    // have passed on this clock. `ready` is evaluated with the lock held; whoever makes it true
    // must do so under the same mutex and then notify `condition`. Returns ready() as last seen.
    virtual bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& condition,
                         std::uint32_t milliseconds, const std::function<bool()>& ready) = 0;
};

// A time limit on a tick clock, counted from the moment it is made: several waits that make up
// one operation share it, so the operation as a whole ends in time however its pieces arrive.
class CDeadline {
  public:
    CDeadline(CTickClock& clock, std::uint32_t milliseconds)
        : clock_(&clock), start_(clock.Now()), length_(milliseconds) {}

    // Milliseconds left; 0 once the limit has passed.
    std::uint32_t Remaining() const {
        const std::uint32_t spent = TicksBetween(start_, clock_->Now());
        return spent >= length_ ? 0 : length_ - spent;
    }

  private:
    CTickClock* clock_;
    Tick start_;
    std::uint32_t length_;
};

// The system's monotonic clock (milliseconds of steady_clock, cut to 32 bits). One instance
// for the whole process.
CTickClock& SystemTickClock();

}  // namespace lanterna
