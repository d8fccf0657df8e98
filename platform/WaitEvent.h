#pragma once
// An auto-reset event private to one object: Signal() lets exactly one Wait() return true (the
// one in progress, or the next one). Timed waits run on a tick clock, so a test clock decides
// when they have lasted long enough.

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "platform/TickClock.h"

namespace lanterna {

// Thread-safe.
class CWaitEvent {
  public:
    void Signal();

    // Drops a signal that no wait has consumed.
    void Reset();

    // Waits until signalled or `milliseconds` have passed on `clock`. True when signalled; the
    // signal is then consumed.
    bool Wait(CTickClock& clock, std::uint32_t milliseconds);

  private:
    std::mutex mutex;
    std::condition_variable condition;
    bool signalled = false;
};

}  // namespace lanterna
