#pragma once
// Waiting until a simulated projector has seen every client leave. Only then are its logs and
// counters final: a send-only command gets no reply, so a client may be done before the
// projector has read its last line, and "nothing was sent" means something only once the
// connection that could have sent it is over.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <thread>

#include "tools/projector-sim/SimulatedProjector.h"

namespace lanterna::test {

// True once every connection made to `projector` before the call has been accepted and its
// session has ended; false when that has not happened within `limit` (a client still holds its
// link open, for instance). The projector accepts connections in the order they came, so once
// it has closed a connection of our own, made last, it has accepted every earlier one.
inline bool WaitUntilSessionsEnd(const sim::SimulatedProjector& projector,
                                 std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + limit;
    const auto left = [deadline] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())
            .count();
    };
    const int marker = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (marker < 0) {
        return false;
    }
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(projector.TcpPort());
    ::inet_pton(AF_INET, projector.Address().c_str(), &target.sin_addr);
    // Connecting fails only when the projector no longer listens: then no session is left to
    // wait for but those already taken.
    bool closed = true;
    if (::connect(marker, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) {
        ::shutdown(marker, SHUT_WR);  // its session ends as soon as it reads
        closed = false;
        while (!closed && left() > 0) {
            pollfd readable{marker, POLLIN, 0};
            if (::poll(&readable, 1, static_cast<int>(left())) > 0) {
                std::array<char, 64> ignored{};
                closed = ::recv(marker, ignored.data(), ignored.size(), 0) <= 0;
            }
        }
    }
    ::close(marker);
    while (closed) {
        const sim::ProjectorCounters counters = projector.Counters();
        if (counters.connectionsEnded == counters.connectionsServed) {
            return true;
        }
        if (left() <= 0) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

}  // namespace lanterna::test
