#include "discovery/HelloSweep.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>

#include "link/LinkPacket.h"
#include "platform/FileDescriptor.h"

namespace lanterna {

namespace {

using SweepClock = std::chrono::steady_clock;

// Whole milliseconds since `start`, rounded down: the waits measured this way are never cut
// short, however often a wait is taken up in pieces.
std::uint32_t MillisecondsSince(SweepClock::time_point start) {
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(SweepClock::now() - start).count();
    return static_cast<std::uint32_t>(std::clamp<long long>(elapsed, 0, UINT32_MAX));
}

// Replies a sweep reads at most per address, so that a flood cannot hold it (a search has the
// same kind of bound).
constexpr std::size_t kDatagramsPerAddress = 8;
constexpr std::size_t kDatagramAllowance = 1024;

int OpenSweepSocket(std::uint16_t localPort) {
    for (const std::uint16_t port : {localPort, std::uint16_t{0}}) {
        const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            return -1;
        }
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(port);
        local.sin_addr.s_addr = htonl(INADDR_ANY);
        if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0) {
            return fd;
        }
        close(fd);
        if (port == 0) {
            break;
        }
    }
    return -1;
}

// One hello to `address`; a failure (no route, say) only means this address cannot answer.
void SendHello(int fd, const std::string& address, std::uint16_t port, const PacketBytes& hello) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    if (address.empty() || inet_pton(AF_INET, address.c_str(), &peer.sin_addr) != 1) {
        return;
    }
    ssize_t sent = 0;
    do {
        sent = sendto(fd, hello.data(), hello.size(), MSG_NOSIGNAL,
                      reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    } while (sent < 0 && errno == EINTR);
}

class CSweepRun {
  public:
    CSweepRun(int fd, const HelloSweepOptions& options, const std::atomic<bool>& cancelled,
              std::span<const std::string> addresses, std::vector<HelloAnswer>& answers)
        : fd_(fd),
          cancelled_(cancelled),
          options_(options),
          addresses_(addresses),
          answers_(answers),
          start_(SweepClock::now()),
          datagramsLeft_(kDatagramAllowance + kDatagramsPerAddress * addresses.size()) {}

    void Run() {
        SendToUnanswered();
        SweepClock::time_point lastAnswer = SweepClock::now();
        SweepClock::time_point lastSend = lastAnswer;
        while (Pending() > 0 && datagramsLeft_ > 0 && !cancelled_) {
            const std::uint32_t elapsed = MillisecondsSince(start_);
            if (elapsed >= options_.limitMs) {
                return;
            }
            std::uint32_t wait = std::min(options_.limitMs - elapsed, kSweepCancelCheckMs);
            if (options_.quietMs > 0) {
                const std::uint32_t quiet = MillisecondsSince(lastAnswer);
                if (quiet >= options_.quietMs) {
                    return;
                }
                wait = std::min(wait, options_.quietMs - quiet);
            }
            if (options_.resendMs > 0) {
                const std::uint32_t sinceSend = MillisecondsSince(lastSend);
                if (sinceSend >= options_.resendMs) {
                    SendToUnanswered();
                    lastSend = SweepClock::now();
                    continue;
                }
                wait = std::min(wait, options_.resendMs - sinceSend);
            }
            const int got = ReceiveOne(static_cast<int>(wait));
            if (got < 0) {
                return;
            }
            if (got > 0) {
                lastAnswer = SweepClock::now();
            }
        }
    }

  private:
    std::size_t Pending() const {
        std::size_t pending = 0;
        for (std::size_t i = 0; i < addresses_.size(); ++i) {
            pending += !answers_[i] && !addresses_[i].empty() ? 1 : 0;
        }
        return pending;
    }

    void SendToUnanswered() {
        const PacketBytes hello = BuildHelloRequest();
        for (std::size_t i = 0; i < addresses_.size() && !cancelled_; ++i) {
            if (!answers_[i]) {
                SendHello(fd_, addresses_[i], options_.port, hello);
                // Replies are taken in between, so that many of them never overflow the
                // socket's receive buffer.
                while (datagramsLeft_ > 0 && ReceiveOne(0) > 0) {
                }
            }
        }
    }

    // Waits up to `milliseconds` for one datagram. 1 it answered an address, 0 nothing fitting
    // (or nothing came), -1 the socket failed.
    int ReceiveOne(int milliseconds) {
        pollfd readable{fd_, POLLIN, 0};
        int ready = 0;
        do {
            ready = poll(&readable, 1, milliseconds);
        } while (ready < 0 && errno == EINTR);
        if (ready <= 0) {
            return ready;
        }
        std::array<std::uint8_t, 2048> datagram{};
        sockaddr_in source{};
        socklen_t sourceSize = sizeof source;
        const ssize_t received = recvfrom(fd_, datagram.data(), datagram.size(), 0,
                                          reinterpret_cast<sockaddr*>(&source), &sourceSize);
        if (received < 0) {
            return errno == EINTR ? 0 : -1;
        }
        --datagramsLeft_;
        std::array<char, INET_ADDRSTRLEN> dotted{};
        inet_ntop(AF_INET, &source.sin_addr, dotted.data(), dotted.size());
        const auto decoded =
            DecodeHelloReply(std::span(datagram.data(), static_cast<std::size_t>(received)),
                             dotted.data(), ntohs(source.sin_port), options_.port);
        if (!decoded) {
            return 0;
        }
        int answered = 0;
        for (std::size_t i = 0; i < addresses_.size(); ++i) {
            if (!answers_[i] && addresses_[i] == TextOf(decoded->address)) {
                answers_[i] = *decoded;
                answered = 1;
            }
        }
        return answered;
    }

    int fd_;
    const std::atomic<bool>& cancelled_;
    const HelloSweepOptions& options_;
    std::span<const std::string> addresses_;
    std::vector<HelloAnswer>& answers_;
    SweepClock::time_point start_;
    std::size_t datagramsLeft_;
};

}  // namespace

CHelloSweep::CHelloSweep(HelloSweepOptions sweepOptions) : options(sweepOptions) {}

int CHelloSweep::Run(std::span<const std::string> addresses, std::vector<HelloAnswer>& answers) {
    answers.assign(addresses.size(), std::nullopt);
    const bool anyAddress =
        std::any_of(addresses.begin(), addresses.end(),
                    [](const std::string& address) { return !address.empty(); });
    if (!anyAddress || cancelled) {
        return 1;
    }
    const FileDescriptor fd(OpenSweepSocket(options.localPort));
    if (!fd.Valid()) {
        return -1;
    }
    CSweepRun(fd.Get(), options, cancelled, addresses, answers).Run();
    return 1;
}

}  // namespace lanterna
