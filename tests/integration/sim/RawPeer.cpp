#include "RawPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace lanterna::sim::test {

namespace {

sockaddr_in SocketAddress(const std::string& address, std::uint16_t port) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    ::inet_pton(AF_INET, address.c_str(), &result.sin_addr);
    return result;
}

bool Readable(int fd, std::chrono::milliseconds timeout) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, static_cast<int>(timeout.count())) > 0;
}

}  // namespace

Bytes RequestPacket(std::uint8_t type, const std::vector<RequestEntry>& entries,
                    std::uint8_t version) {
    Bytes packet(16 + 18 * entries.size(), 0);
    std::memcpy(packet.data(), "QVL/TK.net", 10);
    packet[10] = version;
    packet[11] = type;
    packet[15] = static_cast<std::uint8_t>(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::uint8_t* entry = packet.data() + 16 + 18 * i;
        entry[0] = entries[i].id;
        entry[1] = entries[i].attribute;
        std::memcpy(entry + 2, entries[i].information.data(),
                    std::min<std::size_t>(entries[i].information.size(), 16));
    }
    return packet;
}

SimulatorConfig TestConfig(const std::string& address) {
    SimulatorConfig config;
    config.address = address;
    config.port = 0;
    config.secondaryPort = 0;
    return config;
}

std::unique_ptr<SimulatedProjector> StartProjector(const SimulatorConfig& config) {
    auto projector = std::make_unique<SimulatedProjector>(config);
    std::string reason;
    EXPECT_TRUE(projector->Start(&reason)) << reason;
    return projector;
}

RawTcp::RawTcp(const std::string& address, std::uint16_t port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in target = SocketAddress(address, port);
    if (fd_ >= 0 &&
        ::connect(fd_, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

RawTcp::~RawTcp() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool RawTcp::Send(std::string_view bytes) {
    return fd_ >= 0 && ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
                           static_cast<ssize_t>(bytes.size());
}

bool RawTcp::Send(const Bytes& bytes) {
    return Send(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool RawTcp::WaitReadable(std::chrono::milliseconds timeout) {
    return Readable(fd_, timeout);
}

std::string RawTcp::ReadSome(std::chrono::milliseconds timeout) {
    char buffer[8192];
    if (fd_ < 0 || !WaitReadable(timeout)) {
        return {};
    }
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

std::string RawTcp::ReadExact(std::size_t count, std::chrono::milliseconds timeout) {
    std::string data;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    char buffer[8192];
    while (data.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !WaitReadable(left)) {
            break;
        }
        const ssize_t n = ::recv(fd_, buffer, std::min(sizeof buffer, count - data.size()), 0);
        if (n <= 0) {
            break;
        }
        data.append(buffer, static_cast<std::size_t>(n));
    }
    return data;
}

std::string RawTcp::ReadReply(std::chrono::milliseconds timeout) {
    std::string data;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (data.empty() || data.back() != ':') {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            break;
        }
        const std::string piece = ReadSome(left);
        if (piece.empty()) {
            break;
        }
        data += piece;
    }
    return data;
}

bool RawTcp::WaitClosed(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    char buffer[4096];
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !WaitReadable(left)) {
            return false;
        }
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n <= 0) {
            return true;
        }
    }
}

std::optional<std::uint8_t> RawTcp::Connect(const std::string& password) {
    std::vector<RequestEntry> entries;
    if (!password.empty()) {
        entries.push_back({1, 1, password});
    }
    if (!Send(RequestPacket(3, entries))) {
        return std::nullopt;
    }
    const std::string reply = ReadExact(16);
    if (reply.size() != 16) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(reply[14]);
}

std::string RawTcp::Command(std::string_view line) {
    if (!Send(std::string(line) + "\r")) {
        return {};
    }
    return ReadReply();
}

std::string RawTcp::Query(std::string_view name) {
    const std::string reply = Command(std::string(name) + "?");
    const std::string head = std::string(name) + "=";
    if (reply.size() >= head.size() + 2 && reply.compare(0, head.size(), head) == 0 &&
        reply.compare(reply.size() - 2, 2, "\r:") == 0) {
        return reply.substr(head.size(), reply.size() - head.size() - 2);
    }
    return reply == "ERR\r:" ? "ERR" : reply;
}

std::unique_ptr<RawTcp> OpenSession(const SimulatedProjector& projector,
                                    const std::string& password) {
    auto session = std::make_unique<RawTcp>(projector.Address(), projector.TcpPort());
    EXPECT_TRUE(session->Connected());
    EXPECT_EQ(session->Connect(password), std::optional<std::uint8_t>(0x20));
    return session;
}

RawUdp::RawUdp(const std::string& address) {
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const sockaddr_in local = SocketAddress(address, 0);
    if (fd_ >= 0 && ::bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

RawUdp::~RawUdp() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool RawUdp::EnableBroadcast() {
    const int on = 1;
    return ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0;
}

bool RawUdp::SendTo(const Bytes& bytes, const std::string& address, std::uint16_t port) {
    const sockaddr_in target = SocketAddress(address, port);
    return ::sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&target),
                    sizeof target) == static_cast<ssize_t>(bytes.size());
}

std::optional<RawUdp::Datagram> RawUdp::Receive(std::chrono::milliseconds timeout) {
    if (fd_ < 0 || !Readable(fd_, timeout)) {
        return std::nullopt;
    }
    std::uint8_t buffer[4096];
    sockaddr_in source{};
    socklen_t length = sizeof source;
    const ssize_t n =
        ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&source), &length);
    if (n < 0) {
        return std::nullopt;
    }
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &source.sin_addr, text, sizeof text);
    return Datagram{Bytes(buffer, buffer + n), text, ntohs(source.sin_port)};
}

}  // namespace lanterna::sim::test
