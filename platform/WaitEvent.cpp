#include "platform/WaitEvent.h"

namespace lanterna {

void CWaitEvent::Signal() {
    {
        std::lock_guard guard(mutex);
        signalled = true;
    }
    condition.notify_all();
}

void CWaitEvent::Reset() {
    std::lock_guard guard(mutex);
    signalled = false;
}

bool CWaitEvent::Wait(CTickClock& clock, std::uint32_t milliseconds) {
    std::unique_lock lock(mutex);
    clock.WaitFor(lock, condition, milliseconds, [this] { return signalled; });
    const bool wasSignalled = signalled;
    signalled = false;
    return wasSignalled;
}

}  // namespace lanterna
