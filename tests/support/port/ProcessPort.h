#pragma once
// A port number of the test process's own, free on TCP and UDP, for code that reaches every
// projector on one port (lanternactl, the hello sweep): the test's simulated projectors listen
// on it, each on a loopback address of the test's own. The port stays bound on an address
// kept for this purpose until the process ends, so a second test process (the same suite of
// another build folder, say) is given a different one, and no program's ephemeral port can
// take it on all addresses meanwhile.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

namespace lanterna::test {

inline constexpr const char* kPortKeeperAddress = "127.254.0.1";

// 0 when no port could be had (every later bind then fails and says so).
inline std::uint16_t ProcessProjectorPort() {
    static const std::uint16_t port = [] {
        sockaddr_in keeper{};
        keeper.sin_family = AF_INET;
        ::inet_pton(AF_INET, kPortKeeperAddress, &keeper.sin_addr);
        constexpr int kTries = 16;
        for (int attempt = 0; attempt < kTries; ++attempt) {
            const int tcp = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            const int udp = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
            keeper.sin_port = 0;
            socklen_t size = sizeof keeper;
            if (tcp >= 0 && udp >= 0 &&
                ::bind(tcp, reinterpret_cast<const sockaddr*>(&keeper), sizeof keeper) == 0 &&
                ::getsockname(tcp, reinterpret_cast<sockaddr*>(&keeper), &size) == 0 &&
                ::bind(udp, reinterpret_cast<const sockaddr*>(&keeper), sizeof keeper) == 0) {
                return ntohs(keeper.sin_port);  // both stay open until the process ends
            }
            ::close(tcp);
            ::close(udp);
        }
        return std::uint16_t{0};
    }();
    return port;
}

}  // namespace lanterna::test
