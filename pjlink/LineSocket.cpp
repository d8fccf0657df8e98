#include "pjlink/LineSocket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>

namespace lanterna::pjlink {

namespace {

// A cancellation is seen within this long however long the wait.
constexpr std::uint32_t kCancelSliceMs = 50;

std::uint32_t MillisecondsSince(std::chrono::steady_clock::time_point start) {
    const auto spent = std::chrono::steady_clock::now() - start;
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(spent).count());
}

}  // namespace

CLineSocket::~CLineSocket() {
    Close();
}

void CLineSocket::Close() {
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    pending_.clear();
}

int CLineSocket::WaitFor(short events, std::uint32_t remainingMs) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        if (Cancelled()) {
            return -1;
        }
        const std::uint32_t spent = MillisecondsSince(start);
        if (spent >= remainingMs) {
            return 0;
        }
        pollfd wanted{fd_, events, 0};
        const int slice = static_cast<int>(std::min(remainingMs - spent, kCancelSliceMs));
        const int ready = poll(&wanted, 1, slice);
        if (ready < 0 && errno != EINTR) {
            return -1;
        }
        if (ready > 0) {
            return 1;
        }
    }
}

bool CLineSocket::Connect(std::string_view address, std::uint16_t port, std::uint32_t timeoutMs) {
    Close();
    in_addr target{};
    const std::string text(address);
    if (inet_pton(AF_INET, text.c_str(), &target) != 1) {
        return false;
    }
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0) {
        return false;
    }
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr = target;
    bool connected = connect(fd_, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0;
    if (!connected && errno == EINPROGRESS && WaitFor(POLLOUT, timeoutMs) == 1) {
        int error = 0;
        socklen_t size = sizeof error;
        connected = getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
    }
    if (!connected) {
        Close();
        return false;
    }
    const int on = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return true;
}

bool CLineSocket::SendLine(std::string_view line) {
    if (fd_ < 0) {
        return false;
    }
    std::string bytes(line);
    bytes.push_back('\r');
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t count =
            send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (count > 0) {
            sent += static_cast<std::size_t>(count);
        } else if (count < 0 && errno != EINTR &&
                   ((errno != EAGAIN && errno != EWOULDBLOCK) || WaitFor(POLLOUT, 5000) != 1)) {
            return false;
        }
    }
    return true;
}

LineStatus CLineSocket::ReadLine(std::string& line, std::size_t limit, const CDeadline& deadline) {
    line.clear();
    for (;;) {
        const std::size_t end = pending_.find('\r');
        if (end != std::string::npos && end <= limit) {
            line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return LineStatus::kLine;
        }
        if (pending_.size() > limit) {
            return LineStatus::kTooLong;
        }
        if (fd_ < 0) {
            return LineStatus::kClosed;
        }
        const int ready = WaitFor(POLLIN, deadline.Remaining());
        if (ready == 0) {
            return LineStatus::kTimeout;
        }
        if (ready < 0) {
            return Cancelled() ? LineStatus::kCancelled : LineStatus::kClosed;
        }
        std::array<char, 256> chunk{};
        const ssize_t count = recv(fd_, chunk.data(), chunk.size(), MSG_DONTWAIT);
        if (count == 0 || (count < 0 && errno != EINTR && errno != EAGAIN)) {
            return LineStatus::kClosed;
        }
        if (count > 0) {
            pending_.append(chunk.data(), static_cast<std::size_t>(count));
        }
    }
}

}  // namespace lanterna::pjlink
