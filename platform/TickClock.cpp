#include "platform/TickClock.h"

#include <chrono>

namespace lanterna {

namespace {

class CSystemTickClock final : public CTickClock {
  public:
    Tick Now() override {
        const auto elapsed = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<Tick>(
            std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    }

    bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& condition,
                 std::uint32_t milliseconds, const std::function<bool()>& ready) override {
        return condition.wait_for(lock, std::chrono::milliseconds(milliseconds), ready);
    }
};

}  // namespace

CTickClock& SystemTickClock() {
    static CSystemTickClock clock;
    return clock;
}

}  // namespace lanterna
