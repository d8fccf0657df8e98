#include "discovery/HelloRun.h"

#include <chrono>
#include <system_error>
#include <thread>

namespace lanterna {

CHelloRun::CHelloRun(std::uint16_t destinationPort, std::uint16_t localPort)
    : port(destinationPort), link(LinkOptions{.helloLocalPort = localPort}) {}

int CHelloRun::Run(std::string_view address, std::vector<DiscoveredProjector>& results,
                   std::uint32_t quietMs) {
    {
        std::lock_guard guard(mutex);
        done = false;
    }
    std::thread guard;
    try {
        guard = std::thread([this] { Guard(); });
    } catch (const std::system_error&) {
        // Without a guard the collection still ends once the replies stop (or on Cancel).
    }
    const int result = link.Hello(address, port, results, quietMs == 0 ? kHelloWaitMs : quietMs);
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    finished.notify_all();
    if (guard.joinable()) {
        guard.join();
    }
    return result;
}

void CHelloRun::Cancel() {
    link.CancelHello();
}

// Sleeps on a condition (no polling) until the run ends or its time is up.
void CHelloRun::Guard() {
    std::unique_lock lock(mutex);
    if (!finished.wait_for(lock, std::chrono::milliseconds(kHelloRunLimitMs),
                           [this] { return done; })) {
        link.CancelHello();
    }
}

}  // namespace lanterna
