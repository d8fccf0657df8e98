#include "tools/projector-sim/Sockets.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace lanterna::sim {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        Reset(other.Release());
    }
    return *this;
}

int UniqueFd::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void UniqueFd::Reset(int fd) {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = fd;
}

std::optional<in_addr> ParseIpv4(const std::string& address) {
    in_addr parsed{};
    if (::inet_pton(AF_INET, address.c_str(), &parsed) != 1) {
        return std::nullopt;
    }
    return parsed;
}

namespace {

sockaddr_in SocketAddress(in_addr address, std::uint16_t port) {
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_addr = address;
    socketAddress.sin_port = htons(port);
    return socketAddress;
}

std::string Failure(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

UniqueFd OpenBound(int type, in_addr address, std::uint16_t port, bool reuse, std::string& reason) {
    UniqueFd fd(::socket(AF_INET, type | SOCK_CLOEXEC, 0));
    if (!fd.Valid()) {
        reason = Failure("socket");
        return {};
    }
    const int on = 1;
    if (reuse && ::setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
        reason = Failure("SO_REUSEADDR");
        return {};
    }
    const sockaddr_in socketAddress = SocketAddress(address, port);
    if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&socketAddress), sizeof socketAddress) !=
        0) {
        reason = Failure("bind");
        return {};
    }
    return fd;
}

}  // namespace

UniqueFd OpenTcpListener(in_addr address, std::uint16_t port, std::string& reason) {
    // SO_REUSEADDR lets a restarted simulator bind again while old connections linger.
    UniqueFd fd = OpenBound(SOCK_STREAM, address, port, true, reason);
    if (fd.Valid() && ::listen(fd.Get(), 16) != 0) {
        reason = Failure("listen");
        return {};
    }
    return fd;
}

UniqueFd OpenUdp(in_addr address, std::uint16_t port, bool reuse, std::string& reason) {
    return OpenBound(SOCK_DGRAM, address, port, reuse, reason);
}

std::uint16_t LocalPort(int fd) {
    sockaddr_in socketAddress{};
    socklen_t length = sizeof socketAddress;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&socketAddress), &length) != 0) {
        return 0;
    }
    return ntohs(socketAddress.sin_port);
}

bool SendAll(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t sent = ::send(fd, bytes, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        bytes += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

std::string DottedOf(const sockaddr_in& address) {
    std::array<char, INET_ADDRSTRLEN> text{};
    ::inet_ntop(AF_INET, &address.sin_addr, text.data(), text.size());
    return std::string(text.data());
}

}  // namespace lanterna::sim
