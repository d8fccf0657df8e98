#pragma once
// Shared pieces of the discovery tests: search targets aimed at one simulated projector on
// loopback, and a clock for elapsed times.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "discovery/SearchController.h"
#include "tests/integration/sim/RawPeer.h"

namespace lanterna::test {

using namespace std::chrono_literals;
using sim::SimulatedProjector;
using sim::SimulatorConfig;
using sim::test::StartProjector;
using sim::test::TestConfig;

// Every search unicast to `projector`, the hello from an ephemeral local port; the PJLink
// search's answers are taken on the PJLink port of `searcher`, a loopback address of the test.
inline SearchTargets TargetsAt(const SimulatedProjector& projector,
                               const std::string& searcher = "127.93.0.254") {
    return SearchTargets{
        .hello = {.address = projector.Address(), .port = projector.HelloPort(), .localPort = 0},
        .secondary = {.address = projector.Address(), .port = projector.SecondaryPort()},
        .pjlink = {.address = projector.Address(), .localAddress = searcher}};
}

using Bytes = std::vector<std::uint8_t>;

// A UDP socket of the test on an ephemeral port of `address`.
class CTestUdp {
  public:
    explicit CTestUdp(const std::string& address) : fd(socket(AF_INET, SOCK_DGRAM, 0)) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        inet_pton(AF_INET, address.c_str(), &local.sin_addr);
        bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
        socklen_t size = sizeof local;
        getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size);
        port = ntohs(local.sin_port);
    }
    ~CTestUdp() { close(fd); }
    CTestUdp(const CTestUdp&) = delete;
    CTestUdp& operator=(const CTestUdp&) = delete;

    std::uint16_t LocalPort() const { return port; }

    struct Datagram {
        Bytes bytes;
        sockaddr_in source{};
    };
    std::optional<Datagram> Receive(std::chrono::milliseconds timeout) {
        pollfd readable{fd, POLLIN, 0};
        if (poll(&readable, 1, static_cast<int>(timeout.count())) <= 0) {
            return std::nullopt;
        }
        Datagram datagram;
        datagram.bytes.resize(2048);
        socklen_t size = sizeof datagram.source;
        const ssize_t got = recvfrom(fd, datagram.bytes.data(), datagram.bytes.size(), 0,
                                     reinterpret_cast<sockaddr*>(&datagram.source), &size);
        if (got < 0) {
            return std::nullopt;
        }
        datagram.bytes.resize(static_cast<std::size_t>(got));
        return datagram;
    }
    bool SendTo(const Bytes& bytes, const sockaddr_in& target) {
        return sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&target),
                      sizeof target) == static_cast<ssize_t>(bytes.size());
    }

  private:
    int fd;
    std::uint16_t port = 0;
};

class Stopwatch {
  public:
    std::chrono::milliseconds Elapsed() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
    }

  private:
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

}  // namespace lanterna::test
