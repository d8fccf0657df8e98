#include "link/LinkSocket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <new>
#include <string>

#include "link/CommandLine.h"

namespace lanterna {

namespace {

// Dotted text (in every form inet_addr accepts) or a host name resolved to its first IPv4
// address.
bool ResolveIpv4(std::string_view address, in_addr& resolved) {
    if (address.empty()) {
        return false;
    }
    const std::string text(address);
    if (inet_aton(text.c_str(), &resolved) != 0) {
        return true;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(text.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return false;
    }
    resolved = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

sockaddr_in MakeAddress(in_addr address, std::uint16_t port) {
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_port = htons(port);
    socketAddress.sin_addr = address;
    return socketAddress;
}

ssize_t ReceiveRetrying(int fd, void* buffer, std::size_t size, int flags) {
    ssize_t received = 0;
    do {
        received = recv(fd, buffer, size, flags);
    } while (received < 0 && errno == EINTR);
    return received;
}

// Waits until `fd` has something to read (data, an end or an error) before the deadline; true
// at once without one. A wait that runs out in real time fails too, so that a test clock that
// stands still cannot make it wait again and again.
bool WaitReadable(int fd, const CDeadline* deadline) {
    if (deadline == nullptr) {
        return true;
    }
    for (;;) {
        const std::uint32_t remaining = deadline->Remaining();
        if (remaining == 0) {
            return false;
        }
        pollfd readable{fd, POLLIN, 0};
        const int ready = poll(&readable, 1, static_cast<int>(remaining));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        return ready > 0;
    }
}

// Connects a non-blocking socket, waiting at most `timeoutMs` for the outcome.
bool ConnectWithin(int fd, const sockaddr_in& peer, std::uint32_t timeoutMs) {
    if (connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) {
        return true;
    }
    if (errno != EINPROGRESS && errno != EINTR) {
        return false;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd writable{fd, POLLOUT, 0};
        const int ready = poll(&writable, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return false;
        }
        int error = 0;
        socklen_t size = sizeof error;
        return getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
    }
}

}  // namespace

CLinkSocket::~CLinkSocket() {
    Close();
}

int CLinkSocket::Startup() {
    return 1;
}

int CLinkSocket::ConnectTcp(std::string_view address, std::uint16_t port, std::uint32_t timeoutMs) {
    Close();  // an open socket is never overwritten and leaked
    // Non-blocking while it connects, so that the wait is ours to bound; blocking afterwards,
    // where the send and receive time-outs bound every call.
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return -1;
    }
    in_addr target{};
    if (!ResolveIpv4(address, target)) {
        close(fd);
        return -1;
    }
    const sockaddr_in peer = MakeAddress(target, port);
    const int flags = fcntl(fd, F_GETFL);
    if (!ConnectWithin(fd, peer, timeoutMs) || flags < 0 ||
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        close(fd);
        return -1;
    }
    // Lines are sent whole in one write; waiting to coalesce them would only add latency. A
    // failure here costs speed, not correctness, so it is not an error.
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    std::lock_guard guard(handleMutex);
    handle = fd;
    return 1;
}

int CLinkSocket::OpenUdp(std::uint16_t port, bool broadcast) {
    Close();
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    const int on = 1;
    if (broadcast && setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        close(fd);
        return -1;
    }
    const sockaddr_in local = MakeAddress(in_addr{htonl(INADDR_ANY)}, port);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        close(fd);
        return -1;
    }
    std::lock_guard guard(handleMutex);
    handle = fd;
    return 1;
}

int CLinkSocket::SetTimeout(int option, std::uint32_t milliseconds) {
    const int fd = handle;
    if (fd < 0) {
        return 0;
    }
    timeval limit{};
    limit.tv_sec = static_cast<time_t>(milliseconds / 1000);
    limit.tv_usec = static_cast<suseconds_t>((milliseconds % 1000) * 1000);
    if (setsockopt(fd, SOL_SOCKET, option, &limit, sizeof limit) != 0) {
        return FailAndClose(0);
    }
    if (option == SO_RCVTIMEO) {
        receiveTimeoutMs = milliseconds;
    }
    return 1;
}

int CLinkSocket::SetReceiveTimeout(std::uint32_t milliseconds) {
    return SetTimeout(SO_RCVTIMEO, milliseconds);
}

int CLinkSocket::SetSendTimeout(std::uint32_t milliseconds) {
    return SetTimeout(SO_SNDTIMEO, milliseconds);
}

int CLinkSocket::Close() {
    std::lock_guard guard(handleMutex);
    const int fd = handle.exchange(-1);
    receiveTimeoutMs = 0;
    if (fd < 0) {
        return -1;
    }
    shutdown(fd, SHUT_RDWR);
    close(fd);
    return 1;
}

int CLinkSocket::FailAndClose(int result) {
    Close();
    return result;
}

int CLinkSocket::Send(const void* bytes, std::size_t length) {
    const int fd = handle;
    if (fd < 0) {
        return 0;
    }
    ssize_t sent = 0;
    do {
        // MSG_NOSIGNAL: a peer that has gone away must give an error, not end the process.
        sent = send(fd, bytes, length, MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    if (sent < 0 || static_cast<std::size_t>(sent) != length) {
        return FailAndClose(0);
    }
    return 1;
}

int CLinkSocket::SendLine(std::string_view text) {
    if (handle < 0) {
        return 0;
    }
    std::string line;
    try {
        line.reserve(text.size() + 1);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    line.append(text);
    line.push_back('\r');
    return Send(line.data(), line.size());
}

int CLinkSocket::SendTo(std::string_view address, std::uint16_t port, const void* bytes,
                        std::size_t length) {
    const int fd = handle;
    if (fd < 0) {
        return 0;
    }
    in_addr target{htonl(INADDR_BROADCAST)};
    if (!address.empty() && !ResolveIpv4(address, target)) {
        return FailAndClose(0);
    }
    const sockaddr_in peer = MakeAddress(target, port);
    ssize_t sent = 0;
    do {
        sent = sendto(fd, bytes, length, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&peer),
                      sizeof peer);
    } while (sent < 0 && errno == EINTR);
    if (sent < 0 || static_cast<std::size_t>(sent) != length) {
        return FailAndClose(0);
    }
    return 1;
}

int CLinkSocket::Receive(void* buffer, std::size_t size, const CDeadline* deadline) {
    const int fd = handle;
    if (fd < 0) {
        return -1;
    }
    std::memset(buffer, 0, size);
    return ReceiveBounded(static_cast<char*>(buffer), size, deadline);
}

int CLinkSocket::ReceiveBounded(char* buffer, std::size_t size, const CDeadline* deadline) {
    const int fd = handle;
    for (;;) {
        // The socket's own receive time-out bounds a blocking receive: when it ends no later
        // than the deadline, the receive waits by itself and no poll is needed first.
        const bool bounded = deadline == nullptr ||
                             (receiveTimeoutMs > 0 && deadline->Remaining() >= receiveTimeoutMs);
        if (!bounded && !WaitReadable(fd, deadline)) {
            return -1;
        }
        const ssize_t received = recv(fd, buffer, size, 0);
        if (received >= 0) {
            return static_cast<int>(received);
        }
        // An interrupted wait is taken up again against the deadline, not with a time-out of
        // its own started afresh.
        if (errno != EINTR) {
            return -1;
        }
    }
}

int CLinkSocket::ReceiveReply(char* buffer, std::size_t capacity, const CDeadline* deadline) {
    const int fd = handle;
    if (buffer == nullptr || capacity == 0) {
        return -3;
    }
    buffer[0] = '\0';
    if (fd < 0) {
        return -3;
    }
    std::size_t length = 0;
    for (int skipped = 0; skipped <= kMaxSkippedEventNotices; ++skipped) {
        bool complete = false;
        while (!complete) {
            // Room for one byte more than fits, so that a reply too long is seen as such.
            const int received = ReceiveBounded(buffer + length, capacity - length, deadline);
            if (received <= 0) {
                buffer[length] = '\0';
                return -3;
            }
            length += static_cast<std::size_t>(received);
            if (length >= capacity) {
                buffer[capacity - 1] = '\0';
                return -2;
            }
            buffer[length] = '\0';
            // A receive takes everything that has arrived (up to its room), so a prompt as its
            // last byte is the last byte available: only that prompt ends the reply.
            complete = buffer[length - 1] == ':';
        }
        const EventNotice notice = FindEventNotice(std::string_view(buffer, length));
        switch (notice.action) {
            case EventNotice::Action::kNone:
                return static_cast<int>(length);
            case EventNotice::Action::kCut:
                std::memset(buffer + notice.position, 0, length - notice.position);
                return static_cast<int>(notice.position);
            case EventNotice::Action::kSkip:
                std::memset(buffer, 0, length);
                length = 0;
                break;
        }
    }
    return -3;
}

std::size_t CLinkSocket::DiscardPending(std::size_t limit) {
    const int fd = handle;
    std::size_t dropped = 0;
    std::array<char, kDrainChunkSize> scratch;
    while (fd >= 0 && dropped < limit) {
        const ssize_t received = ReceiveRetrying(
            fd, scratch.data(), std::min(scratch.size(), limit - dropped), MSG_DONTWAIT);
        if (received <= 0) {
            break;
        }
        dropped += static_cast<std::size_t>(received);
    }
    return dropped;
}

int CLinkSocket::ReceiveHelloReplies(std::uint16_t port, std::vector<DiscoveredProjector>& results,
                                     std::uint32_t milliseconds) {
    const int fd = handle;
    if (fd < 0) {
        return -1;
    }
    for (int datagrams = 0; datagrams < kMaxHelloDatagrams; ++datagrams) {
        pollfd readable{fd, POLLIN, 0};
        int ready = 0;
        do {
            ready = poll(&readable, 1, static_cast<int>(milliseconds));
        } while (ready < 0 && errno == EINTR);
        if (ready == 0) {
            return 0;
        }
        if (ready < 0) {
            return FailAndClose(-1);
        }
        std::array<std::uint8_t, kDatagramBufferSize> datagram{};
        sockaddr_in source{};
        socklen_t sourceSize = sizeof source;
        const ssize_t received = recvfrom(fd, datagram.data(), datagram.size() - 1, 0,
                                          reinterpret_cast<sockaddr*>(&source), &sourceSize);
        if (received == 0) {
            return 0;
        }
        if (received < 0) {
            if (errno == EINTR) {
                continue;
            }
            return FailAndClose(-1);
        }
        std::array<char, INET_ADDRSTRLEN> dotted{};
        inet_ntop(AF_INET, &source.sin_addr, dotted.data(), dotted.size());
        const auto decoded =
            DecodeHelloReply(std::span(datagram.data(), static_cast<std::size_t>(received)),
                             dotted.data(), ntohs(source.sin_port), port);
        if (decoded) {
            results.push_back(*decoded);
        }
    }
    return 0;
}

bool CLinkSocket::IsOpen() const {
    return handle >= 0;
}

void CLinkSocket::Interrupt() {
    std::lock_guard guard(handleMutex);
    const int fd = handle;
    if (fd >= 0) {
        shutdown(fd, SHUT_RDWR);
    }
}

}  // namespace lanterna
