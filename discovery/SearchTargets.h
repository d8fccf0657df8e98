#pragma once
// Where the requests of the searches go. The defaults are the real ones (broadcasts on the fixed
// ports); tests point them at loopback. Apart from the searches themselves, so that code which
// only passes targets on (the command line's settings) needs nothing else.

#include <cstdint>
#include <string>

#include "link/Ports.h"

namespace lanterna {

// The PJLink port, where class-2 projectors take the search and send its answers.
inline constexpr std::uint16_t kPjlinkSearchPort = 4352;

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

// Where the class-2 PJLink search goes ("%2SRCH" over UDP; the answers come to `localPort`).
struct PjlinkSearchTarget {
    std::string address;                // empty: broadcast to 255.255.255.255
    std::uint16_t port = kPjlinkSearchPort;
    std::uint16_t localPort = kPjlinkSearchPort;
    std::string localAddress{};         // bound by the searching socket ("": all)
    // How long answers are taken (0: as long as the secondary search listens).
    std::uint32_t listenMs = 0;
    bool enabled = true;  // false: only the other two searches run
};

struct SearchTargets {
    HelloTarget hello;
    SecondaryTarget secondary;
    PjlinkSearchTarget pjlink;
};

}  // namespace lanterna
