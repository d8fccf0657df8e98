#pragma once
// Where a fleet job sends its traffic. The programs use the defaults; tests keep every packet on
// loopback through them.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "discovery/SearchTargets.h"
#include "link/Ports.h"
#include "link/ProjectorLink.h"
#include "pjlink/Protocol.h"

namespace lanterna::fleet {

struct FleetNetwork {
    // TCP port of every link.
    std::uint16_t projectorPort = kProjectorPort;
    // TCP port of every PJLink link.
    std::uint16_t pjlinkPort = pjlink::kPjlinkPort;
    // Hellos to single addresses (module type, address taken, settling): destination port and
    // local port (when taken, any free one).
    std::uint16_t helloPort = kProjectorPort;
    std::uint16_t helloLocalPort = kProjectorPort;
    // The hellos that learn module types wait this long after the last answer (as a search
    // does); a script on a quiet network may wait less.
    std::uint32_t helloQuietMs = kHelloWaitMs;
    // The searches of a discovery and of "every projector".
    SearchTargets search;
    // Where traffic for a projector's address goes: null sends it to the address itself; a
    // function may send it elsewhere, or nowhere (nullopt: nothing is sent and the address
    // counts as silent).
    std::function<std::optional<std::string>(const std::string& address)> route = nullptr;

    std::optional<std::string> RouteOf(const std::string& address) const {
        return route ? route(address) : std::optional<std::string>(address);
    }
};

}  // namespace lanterna::fleet
