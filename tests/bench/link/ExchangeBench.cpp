// Measures the round trip of Exchange (query NWPNAME) against a loopback responder, and a raw
// TCP ping-pong of exactly the same bytes on the same responder, in alternating turns of random
// order, then prints their medians and ratio. The responder runs in this process.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "link/LinkPacket.h"
#include "link/ProjectorLink.h"
#include "tests/bench/support/AlternatingTurns.h"

namespace {

using namespace lanterna;

constexpr std::string_view kQuery = "NWPNAME?\r";
constexpr std::string_view kAnswer = "NWPNAME=ROOM-12\r:";

void SetNoDelay(int fd) {
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

// Accepts connections on 127.0.0.1 and answers each: a packet beginning with the magic gets an
// accepting header, every carriage-return-terminated line gets kAnswer. One thread serves every
// connection, so that the link and the raw socket meet the same thread on the same processor
// (a thread each would let the scheduler favour one of them for the whole run).
class CResponder {
  public:
    CResponder() {
        listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener, reinterpret_cast<sockaddr*>(&local), sizeof local);
        listen(listener, 4);
        socklen_t size = sizeof local;
        getsockname(listener, reinterpret_cast<sockaddr*>(&local), &size);
        port = ntohs(local.sin_port);
        server = std::thread([this] { Serve(); });
    }

    ~CResponder() {
        shutdown(listener, SHUT_RDWR);
        server.join();
        close(listener);
    }

    std::uint16_t Port() const { return port; }

  private:
    struct Connection {
        int fd;
        std::string pending;
    };

    void Serve() {
        std::vector<pollfd> watched{{listener, POLLIN, 0}};
        std::vector<Connection> connections;
        for (;;) {
            if (poll(watched.data(), watched.size(), -1) < 0) {
                continue;
            }
            for (std::size_t i = 0; i < connections.size(); ++i) {
                if (watched[i + 1].revents != 0 && !Answer(connections[i])) {
                    close(connections[i].fd);
                    watched[i + 1].fd = -1;  // left out of later polls
                }
            }
            if (watched[0].revents != 0) {
                const int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
                if (fd < 0) {
                    break;
                }
                SetNoDelay(fd);
                connections.push_back({fd, {}});
                watched.push_back({fd, POLLIN, 0});
            }
        }
        for (std::size_t i = 0; i < connections.size(); ++i) {
            if (watched[i + 1].fd >= 0) {
                close(connections[i].fd);
            }
        }
    }

    // Reads what came and answers it; false when the peer closed.
    static bool Answer(Connection& connection) {
        std::array<char, 4096> chunk;
        const ssize_t count = recv(connection.fd, chunk.data(), chunk.size(), 0);
        if (count <= 0) {
            return false;
        }
        std::string& pending = connection.pending;
        pending.append(chunk.data(), static_cast<std::size_t>(count));
        if (pending.starts_with(kPacketMagic) && pending.size() >= kPacketHeaderSize) {
            auto reply = EncodePacketHeader(PacketType::kConnect, 0);
            reply[kPacketStatusOffset] = kStatusAccepted;
            pending.erase(0, kPacketHeaderSize);
            WriteAll(connection.fd,
                     std::string_view(reinterpret_cast<const char*>(reply.data()), reply.size()));
        }
        for (std::size_t end; (end = pending.find('\r')) != std::string::npos;) {
            pending.erase(0, end + 1);
            WriteAll(connection.fd, kAnswer);
        }
        return true;
    }

    int listener = -1;
    std::uint16_t port = 0;
    std::thread server;
};

// Round trips per turn, and turns: about 40 µs each on loopback, a second or two in all.
constexpr int kBatch = 100;
constexpr int kTurns = 201;

using Clock = std::chrono::steady_clock;

// Microseconds per round trip over one batch of `once` (false: failed, -1).
// Also appends the processor time of the process per round trip (this thread's, and the
// responder's, which does the same for both sides) to `processor`: on a busy machine the waits
// for a processor swamp real time, while the work of each side stays put.
template <typename Once>
double MicrosecondsPerRoundTrip(Once once, std::vector<double>& processor) {
    const auto start = Clock::now();
    const std::clock_t startWork = std::clock();
    for (int i = 0; i < kBatch; ++i) {
        if (!once()) {
            return -1.0;
        }
    }
    processor.push_back(1e6 * static_cast<double>(std::clock() - startWork) / CLOCKS_PER_SEC /
                        kBatch);
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kBatch;
}

int ConnectRaw(std::uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
        close(fd);
        return -1;
    }
    SetNoDelay(fd);
    return fd;
}

bool RawPingPong(int fd) {
    if (!WriteAll(fd, kQuery)) {
        return false;
    }
    std::array<char, 4096> reply;
    std::size_t length = 0;
    while (length == 0 || reply[length - 1] != ':') {
        const ssize_t count = recv(fd, reply.data() + length, reply.size() - length, 0);
        if (count <= 0) {
            return false;
        }
        length += static_cast<std::size_t>(count);
    }
    return true;
}

}  // namespace

int main() {
    CResponder responder;
    CProjectorLink link;
    const int raw = ConnectRaw(responder.Port());
    if (raw < 0 || link.Connect("127.0.0.1", responder.Port()) != 1 || link.Authenticate("") != 1) {
        std::fprintf(stderr, "could not open the link and the raw socket\n");
        return 1;
    }
    std::array<char, 16> value{};
    std::vector<double> exchangeWork;
    std::vector<double> pingPongWork;
    const auto exchange = [&] {
        return MicrosecondsPerRoundTrip(
            [&] { return link.Exchange("NWPNAME", nullptr, value.data(), 15, true, true) == 1; },
            exchangeWork);
    };
    const auto pingPong = [&] {
        return MicrosecondsPerRoundTrip([&] { return RawPingPong(raw); }, pingPongWork);
    };
    exchange();  // warm-up of both paths
    pingPong();
    const bench::TurnMedians medians = bench::MediansOverTurns(kTurns, exchange, pingPong);
    link.Close();
    close(raw);
    if (!medians.ok) {
        std::fprintf(stderr, "a round trip failed\n");
        return 1;
    }
    std::printf("round trip, median of %d turns of %d in random order:\n", kTurns, kBatch);
    std::printf("  Exchange         %8.2f us\n", medians.first);
    std::printf("  raw ping-pong    %8.2f us\n", medians.second);
    std::printf("  ratio            %8.2f (target 1.1 or less)\n", medians.first / medians.second);
    const double exchangeCpu = bench::Median(exchangeWork);
    const double pingPongCpu = bench::Median(pingPongWork);
    std::printf("processor time per round trip (both ends), median:\n");
    std::printf("  Exchange         %8.2f us\n", exchangeCpu);
    std::printf("  raw ping-pong    %8.2f us\n", pingPongCpu);
    std::printf("  ratio            %8.2f\n", exchangeCpu / pingPongCpu);
    return 0;
}
