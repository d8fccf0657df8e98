#pragma once
// Where the requests of a search go. The defaults are the real ones (broadcasts on the fixed
// ports); tests point them at loopback. Apart from the searches themselves, so that code which
// only passes targets on (the command line's settings) needs nothing else.

#include <cstdint>
#include <string>

#include "link/Ports.h"

namespace lanterna {

// Where a hello goes.
struct HelloTarget {
    std::string address;                       // empty: broadcast to 255.255.255.255
    std::uint16_t port = kProjectorPort;       // destination, and the only source port kept
    std::uint16_t localPort = kProjectorPort;  // bound by the searching socket (0: any)
    // The collection ends when no reply has come for this long (0: the usual kHelloWaitMs).
    std::uint32_t quietMs = 0;
};

// Where the secondary request goes.
struct SecondaryTarget {
    std::string address;                        // empty: broadcast to 255.255.255.255
    std::uint16_t port = kSecondarySearchPort;  // answers are taken from any port
    // How long answers are taken (0: the usual kSecondaryWaitSeconds).
    std::uint32_t listenMs = 0;
};

struct SearchTargets {
    HelloTarget hello;
    SecondaryTarget secondary;
};

}  // namespace lanterna
