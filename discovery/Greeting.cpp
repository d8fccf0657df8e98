#include "discovery/Greeting.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <system_error>
#include <thread>

#include "discovery/SecondaryAnswer.h"
#include "pjlink/Search.h"

namespace lanterna {

namespace {

using GreetClock = std::chrono::steady_clock;

// Datagrams a secondary greeting takes at most per address greeted, answers or not.
constexpr std::size_t kGreetDatagramsPerAddress = 4;

class CGreetSocket {
  public:
    CGreetSocket() : fd_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {}
    ~CGreetSocket() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    CGreetSocket(const CGreetSocket&) = delete;
    CGreetSocket& operator=(const CGreetSocket&) = delete;
    int Get() const { return fd_; }

  private:
    int fd_;
};

void SendSecondaryRequests(int fd, std::span<const std::string> addresses,
                           const std::vector<bool>& answered, std::uint16_t port) {
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        sockaddr_in peer{};
        peer.sin_family = AF_INET;
        peer.sin_port = htons(port);
        if (answered[i] || inet_pton(AF_INET, addresses[i].c_str(), &peer.sin_addr) != 1) {
            continue;
        }
        sendto(fd, kSecondaryRequest.data(), kSecondaryRequest.size(), MSG_NOSIGNAL,
               reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    }
}

// Marks the address an answer datagram came from.
void TakeSecondaryAnswer(int fd, std::span<const std::string> addresses,
                         std::vector<bool>& answered) {
    std::array<std::uint8_t, 2048> bytes{};
    sockaddr_in source{};
    socklen_t size = sizeof source;
    const ssize_t count = recvfrom(fd, bytes.data(), bytes.size(), MSG_DONTWAIT,
                                   reinterpret_cast<sockaddr*>(&source), &size);
    if (count <= 0 ||
        !DecodeSecondaryAnswer(std::span(bytes.data(), static_cast<std::size_t>(count)))) {
        return;
    }
    std::array<char, INET_ADDRSTRLEN> dotted{};
    inet_ntop(AF_INET, &source.sin_addr, dotted.data(), dotted.size());
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        if (addresses[i] == dotted.data()) {
            answered[i] = true;
        }
    }
}

// The indices of `ways` that are `way` (a hello where `ways` is short).
std::vector<std::size_t> GreetIndicesOf(std::size_t count, std::span<const Greeting> ways,
                                   Greeting way) {
    std::vector<std::size_t> indices;
    for (std::size_t i = 0; i < count; ++i) {
        if ((i < ways.size() ? ways[i] : Greeting::kHello) == way) {
            indices.push_back(i);
        }
    }
    return indices;
}

std::vector<std::string> GreetAddressesAt(std::span<const std::string> addresses,
                                     const std::vector<std::size_t>& indices) {
    std::vector<std::string> picked;
    picked.reserve(indices.size());
    for (const std::size_t i : indices) {
        picked.push_back(addresses[i]);
    }
    return picked;
}

}  // namespace

Greeting GreetingOf(const ProjectorRecord& record) {
    if ((record.foundBy & kFinderHello) != 0 || record.foundBy == 0) {
        return Greeting::kHello;
    }
    return (record.foundBy & kFinderSecondary) != 0 ? Greeting::kSecondary : Greeting::kPjlink;
}

std::vector<bool> GreetBySecondary(std::span<const std::string> addresses,
                                   const SecondaryTarget& target, std::uint32_t limitMs) {
    const CGreetSocket greetSocket;
    const int fd = greetSocket.Get();
    sockaddr_in local{};
    local.sin_family = AF_INET;
    if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        return {};
    }
    std::vector<bool> answered(addresses.size(), false);
    const auto end = GreetClock::now() + std::chrono::milliseconds(limitMs);
    auto nextSend = GreetClock::now();
    const std::size_t datagramLimit = addresses.size() * kGreetDatagramsPerAddress;
    for (std::size_t taken = 0; taken < datagramLimit;) {
        const auto now = GreetClock::now();
        if (now >= end || std::all_of(answered.begin(), answered.end(), [](bool a) { return a; })) {
            break;
        }
        if (now >= nextSend) {
            SendSecondaryRequests(fd, addresses, answered, target.port);
            nextSend = now + std::chrono::milliseconds(std::min(kPresenceResendMs, limitMs));
        }
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::min(end, nextSend) - now);
        pollfd readable{fd, POLLIN, 0};
        if (poll(&readable, 1, static_cast<int>(std::max<long long>(wait.count(), 1))) > 0) {
            ++taken;
            TakeSecondaryAnswer(fd, addresses, answered);
        }
    }
    return answered;
}

std::vector<bool> GreetByPjlink(std::span<const std::string> addresses,
                                const PjlinkSearchTarget& target, std::uint32_t limitMs) {
    pjlink::SearchOptions options;
    options.destinations.assign(addresses.begin(), addresses.end());
    options.port = target.port;
    options.localPort = target.localPort;
    options.localAddress = target.localAddress;
    options.waitMs = limitMs;
    options.maxAnswers = addresses.size() * kGreetDatagramsPerAddress;
    const pjlink::SearchResult result = pjlink::Search(options);
    if (!result.ran) {
        return {};
    }
    std::vector<bool> answered(addresses.size(), false);
    for (const pjlink::SearchAnswer& answer : result.answers) {
        for (std::size_t i = 0; i < addresses.size(); ++i) {
            answered[i] = answered[i] || addresses[i] == answer.address;
        }
    }
    return answered;
}

std::vector<bool> RunGreetingRound(std::span<const std::string> allAddresses,
                                   std::span<const Greeting> ways, const SearchTargets& targets,
                                   std::uint32_t limitMs) {
    const std::span<const std::string> addresses =
        allAddresses.first(std::min(allAddresses.size(), kPresenceRoundAddresses));
    const std::array kinds{Greeting::kHello, Greeting::kSecondary, Greeting::kPjlink};
    std::array<std::vector<std::string>, 3> groups;
    std::array<std::vector<std::size_t>, 3> indices;
    std::array<std::vector<bool>, 3> outcomes;
    const auto greet = [&](std::size_t kind) {
        if (groups[kind].empty()) {
            return;
        }
        switch (kinds[kind]) {
            case Greeting::kHello:
                outcomes[kind] = RunPresenceRound(groups[kind], targets.hello, limitMs);
                break;
            case Greeting::kSecondary:
                outcomes[kind] = GreetBySecondary(groups[kind], targets.secondary, limitMs);
                break;
            case Greeting::kPjlink:
                outcomes[kind] = GreetByPjlink(groups[kind], targets.pjlink, limitMs);
                break;
        }
    };
    std::array<std::thread, 3> threads;
    for (std::size_t kind = 0; kind < kinds.size(); ++kind) {
        indices[kind] = GreetIndicesOf(addresses.size(), ways, kinds[kind]);
        groups[kind] = GreetAddressesAt(addresses, indices[kind]);
    }
    // The kinds wait side by side, so that a round takes no longer than one greeting.
    for (std::size_t kind = 1; kind < kinds.size(); ++kind) {
        try {
            threads[kind] = std::thread(greet, kind);
        } catch (const std::system_error&) {
            greet(kind);
        }
    }
    greet(0);
    std::vector<bool> answered(allAddresses.size(), true);
    bool anyRan = addresses.empty();
    for (std::size_t kind = 0; kind < kinds.size(); ++kind) {
        if (threads[kind].joinable()) {
            threads[kind].join();
        }
        anyRan = anyRan || !outcomes[kind].empty();
        for (std::size_t i = 0; i < outcomes[kind].size() && i < indices[kind].size(); ++i) {
            answered[indices[kind][i]] = outcomes[kind][i];
        }
    }
    return anyRan ? answered : std::vector<bool>{};
}

}  // namespace lanterna
