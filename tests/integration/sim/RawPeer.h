#pragma once
// Raw-socket helpers with which the simulator tests play the client: they build packets and
// command lines by hand and read bytes as they arrive.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/projector-sim/SimulatedProjector.h"

namespace lanterna::sim::test {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

struct RequestEntry {
    std::uint8_t id;
    std::uint8_t attribute;
    std::string information;  // cut to 16 bytes
};

// A request packet: magic, version 0x10, type, headerCount = entries, then the entries.
Bytes RequestPacket(std::uint8_t type, const std::vector<RequestEntry>& entries = {},
                    std::uint8_t version = 0x10);

// A configuration on `address` with ephemeral ports.
SimulatorConfig TestConfig(const std::string& address);

// Starts a projector and fails the test when it cannot.
std::unique_ptr<SimulatedProjector> StartProjector(const SimulatorConfig& config);

// One TCP connection of the test, blocking with time-outs. The time-outs are half a minute:
// spent only when the projector is wrong, and outlasting any stall of a busy machine.
class RawTcp {
  public:
    RawTcp(const std::string& address, std::uint16_t port);
    ~RawTcp();
    RawTcp(const RawTcp&) = delete;
    RawTcp& operator=(const RawTcp&) = delete;

    bool Connected() const { return fd_ >= 0; }
    bool Send(std::string_view bytes);
    bool Send(const Bytes& bytes);
    // Exactly `count` bytes, or fewer when the peer closed or `timeout` passed.
    std::string ReadExact(std::size_t count, std::chrono::milliseconds timeout = 30s);
    // Bytes until the last one received is ':' (or the time-out, or the peer closing).
    std::string ReadReply(std::chrono::milliseconds timeout = 30s);
    // The bytes of one recv call (empty on close or time-out).
    std::string ReadSome(std::chrono::milliseconds timeout = 30s);
    // True when the peer closes the connection within `timeout` (data before is discarded).
    bool WaitClosed(std::chrono::milliseconds timeout = 30s);

    // Sends the connect request (with the password entry when not empty) and returns the
    // reply's status byte, or none when no 16-byte reply came.
    std::optional<std::uint8_t> Connect(const std::string& password = "");
    // One command line: sends it with CR and reads the reply up to the prompt.
    std::string Command(std::string_view line);
    // The value of a query ("NAME=value" CR ":" -> value), or "ERR" / the raw reply otherwise.
    std::string Query(std::string_view name);

  private:
    bool WaitReadable(std::chrono::milliseconds timeout);
    int fd_ = -1;
};

// A TCP session that has passed the connect handshake.
std::unique_ptr<RawTcp> OpenSession(const SimulatedProjector& projector,
                                    const std::string& password = "");

// One UDP socket of the test, bound to an ephemeral port of `address`.
class RawUdp {
  public:
    explicit RawUdp(const std::string& address = "127.0.0.1");
    ~RawUdp();
    RawUdp(const RawUdp&) = delete;
    RawUdp& operator=(const RawUdp&) = delete;

    bool EnableBroadcast();
    bool SendTo(const Bytes& bytes, const std::string& address, std::uint16_t port);
    struct Datagram {
        Bytes bytes;
        std::string sourceAddress;
        std::uint16_t sourcePort = 0;
    };
    std::optional<Datagram> Receive(std::chrono::milliseconds timeout = 30s);

  private:
    int fd_ = -1;
};

}  // namespace lanterna::sim::test
