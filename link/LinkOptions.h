#pragma once
// What a link takes from its surroundings. Production code uses the defaults; tests change them
// to run the keep-alive or the reply deadlines on a manual clock, to search from a port of their
// own and to watch the keep-alive's attempts.

#include <cstdint>
#include <functional>
#include <string_view>

#include "link/Ports.h"
#include "platform/TickClock.h"

namespace lanterna {

// What the keep-alive did at one of its checks.
enum class KeepAliveEvent {
    kSucceeded,   // a bare carriage return was answered
    kFailed,      // the attempt failed
    kClosedIdle,  // after a failed attempt, the link had been idle too long and was closed
};

struct LinkOptions {
    // Tick counter of lastActivity and of the keep-alive's waits. Must outlive the link.
    CTickClock* clock = &SystemTickClock();
    // Tick counter of the deadlines of replies (kLinkTimeoutMs from each request's send). Apart
    // from `clock`, so that a test can run the keep-alive's minutes and a reply's seconds on
    // schedules of their own. Must outlive the link.
    CTickClock* deadlineClock = &SystemTickClock();
    // Local UDP port the hello search binds to (0: any free port).
    std::uint16_t helloLocalPort = kProjectorPort;
    // Called on the keep-alive thread after each attempt, with the tick of the check.
    std::function<void(KeepAliveEvent event, Tick tick)> keepAliveObserver = nullptr;
    // A dry run: every text command line goes to this function instead of the network (a set
    // counts as accepted, a query fails), so that the write worker can tell what it would send
    // without a connection. Lines that could never be sent are not handed over either.
    std::function<void(std::string_view line)> dryRun = nullptr;
};

}  // namespace lanterna
