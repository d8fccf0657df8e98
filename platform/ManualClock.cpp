#include "platform/ManualClock.h"

#include <algorithm>

namespace lanterna {

CManualClock::CManualClock(Tick start) : now(start) {}

Tick CManualClock::Now() {
    return now.fetch_add(automaticStep.load());
}

void CManualClock::Register(Waiter* waiter) {
    {
        std::lock_guard guard(waitersMutex);
        waiters.push_back(waiter);
        ++waitsStarted;
    }
    waitsChanged.notify_all();
}

void CManualClock::Unregister(Waiter* waiter) {
    std::lock_guard guard(waitersMutex);
    waiters.erase(std::find(waiters.begin(), waiters.end(), waiter));
}

bool CManualClock::WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& condition,
                           std::uint32_t milliseconds, const std::function<bool()>& ready) {
    // The start is read before registering: an Advance that a test makes as soon as it sees
    // this wait begun must count towards it.
    const Tick start = Now();
    Waiter self{lock.mutex(), &condition};
    lock.unlock();
    Register(&self);
    lock.lock();
    bool result = ready();
    while (!result && TicksBetween(start, Now()) < milliseconds) {
        condition.wait(lock);
        result = ready();
    }
    lock.unlock();
    Unregister(&self);
    lock.lock();
    return ready();
}

void CManualClock::Advance(std::uint32_t milliseconds) {
    std::lock_guard guard(waitersMutex);
    now.fetch_add(milliseconds);
    for (Waiter* waiter : waiters) {
        // Taking the waiter's mutex once makes sure it is either inside condition.wait (and
        // gets the notification) or has not yet looked at the time (and will see the new one).
        { std::lock_guard waiterGuard(*waiter->mutex); }
        waiter->condition->notify_all();
    }
}

void CManualClock::SetAutomaticStep(std::uint32_t milliseconds) {
    automaticStep = milliseconds;
}

std::uint64_t CManualClock::WaitsStarted() {
    std::lock_guard guard(waitersMutex);
    return waitsStarted;
}

bool CManualClock::AwaitWaitsStarted(std::uint64_t count, std::chrono::milliseconds limit) {
    std::unique_lock lock(waitersMutex);
    return waitsChanged.wait_for(lock, limit, [&] { return waitsStarted >= count; });
}

}  // namespace lanterna
