#pragma once
// One hello request and the collection of its replies, as the hello search and the address
// probe both use it: a CProjectorLink's Hello, which any thread can cancel, and which a guard
// ends after kHelloRunLimitMs however many replies keep arriving.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/SearchTargets.h"
#include "link/DiscoveredProjector.h"
#include "link/LinkOptions.h"
#include "link/ProjectorLink.h"

namespace lanterna {

// Longest a collection may last. Hello waits 5000 ms after each reply, so a peer that keeps
// answering just inside that wait could otherwise hold a search for over an hour.
inline constexpr std::uint32_t kHelloRunLimitMs = 30000;

class CHelloRun {
  public:
    // `port`: destination, and the only source port kept; `localPort`: bound by the socket.
    CHelloRun(std::uint16_t port, std::uint16_t localPort);
    CHelloRun(const CHelloRun&) = delete;
    CHelloRun& operator=(const CHelloRun&) = delete;

    // Sends the hello to `address` (empty: broadcast) and blocks until the collection ends.
    // Replies in arrival order into `results`. 1 also when nothing answered or when cancelled;
    // -1 when the port was taken or sending failed. Meant for one run per object. The
    // collection ends once no reply has come for `quietMs` (0: kHelloWaitMs).
    int Run(std::string_view address, std::vector<DiscoveredProjector>& results,
            std::uint32_t quietMs = 0);

    // Thread-safe. Ends a Run in progress at once (keeping what it collected) or makes the
    // next one return at once.
    void Cancel();

  private:
    void Guard();

    const std::uint16_t port;
    CProjectorLink link;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
};

}  // namespace lanterna
