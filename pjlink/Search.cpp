#include "pjlink/Search.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <chrono>

namespace lanterna::pjlink {

namespace {

constexpr std::string_view kRequest = "%2SRCH\r";
constexpr std::string_view kAnswerPrefix = "%2ACKN=";

// Owns one descriptor.
class CDescriptor {
  public:
    explicit CDescriptor(int fd) : fd_(fd) {}
    ~CDescriptor() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    CDescriptor(const CDescriptor&) = delete;
    CDescriptor& operator=(const CDescriptor&) = delete;
    int Get() const { return fd_; }

  private:
    int fd_;
};

bool MakeAddress(const std::string& dotted, std::uint16_t port, sockaddr_in& address) {
    address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (dotted.empty()) {
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        return true;
    }
    return inet_pton(AF_INET, dotted.c_str(), &address.sin_addr) == 1;
}

bool SendRequests(int fd, const SearchOptions& options) {
    bool any = false;
    for (const std::string& destination : options.destinations) {
        sockaddr_in peer{};
        if (MakeAddress(destination, options.port, peer) &&
            sendto(fd, kRequest.data(), kRequest.size(), MSG_NOSIGNAL,
                   reinterpret_cast<const sockaddr*>(&peer), sizeof peer) ==
                static_cast<ssize_t>(kRequest.size())) {
            any = true;
        }
    }
    return any;
}

void AddAnswer(std::vector<SearchAnswer>& answers, const sockaddr_in& source,
               std::string_view datagram) {
    const std::optional<std::string> hardware = ParseSearchAnswer(datagram);
    if (!hardware) {
        return;
    }
    std::array<char, INET_ADDRSTRLEN> dotted{};
    inet_ntop(AF_INET, &source.sin_addr, dotted.data(), dotted.size());
    const std::string address(dotted.data());
    const bool known = std::any_of(answers.begin(), answers.end(),
                                   [&](const SearchAnswer& a) { return a.address == address; });
    if (!known) {
        answers.push_back({address, *hardware});
    }
}

}  // namespace

std::optional<std::string> ParseSearchAnswer(std::string_view datagram) {
    if (!datagram.starts_with(kAnswerPrefix) || !datagram.ends_with('\r')) {
        return std::nullopt;
    }
    std::string hardware(datagram.substr(kAnswerPrefix.size(), datagram.size() - 8));
    if (hardware.size() != 17) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < hardware.size(); ++i) {
        const bool colon = i % 3 == 2;
        const auto c = static_cast<unsigned char>(hardware[i]);
        if (colon ? c != ':' : std::isxdigit(c) == 0) {
            return std::nullopt;
        }
        hardware[i] = static_cast<char>(std::toupper(c));
    }
    return hardware;
}

SearchResult Search(const SearchOptions& options) {
    SearchResult result;
    const CDescriptor socketFd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    const int fd = socketFd.Get();
    sockaddr_in local{};
    const int on = 1;
    if (fd < 0 || !MakeAddress(options.localAddress, options.localPort, local) ||
        setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0 ||
        bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        !SendRequests(fd, options)) {
        return result;
    }
    result.ran = true;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(options.waitMs);
    for (std::size_t taken = 0; taken < options.maxAnswers;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0 || (options.cancel != nullptr && options.cancel->load())) {
            break;
        }
        pollfd readable{fd, POLLIN, 0};
        // Slices of at most 50 ms, so that a cancellation is seen soon.
        if (poll(&readable, 1, static_cast<int>(std::min<long long>(left.count(), 50))) <= 0) {
            continue;
        }
        std::array<char, 256> datagram{};
        sockaddr_in source{};
        socklen_t size = sizeof source;
        const ssize_t count = recvfrom(fd, datagram.data(), datagram.size(), MSG_DONTWAIT,
                                       reinterpret_cast<sockaddr*>(&source), &size);
        if (count < 0) {
            continue;
        }
        ++taken;
        AddAnswer(result.answers, source,
                  std::string_view(datagram.data(), static_cast<std::size_t>(count)));
    }
    return result;
}

}  // namespace lanterna::pjlink
