#include "tests/support/peer/ScriptedDatagramPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace lanterna::test {

namespace {

int BindDatagramSocket(const std::string& address) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    if (fd < 0 || inet_pton(AF_INET, address.c_str(), &local.sin_addr) != 1 ||
        bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        throw std::runtime_error("scripted datagram peer: cannot bind " + address + ": " +
                                 std::strerror(errno));
    }
    return fd;
}

}  // namespace

static_assert(sizeof(sockaddr_in) == 16);

CScriptedDatagramPeer::CScriptedDatagramPeer(std::string bindAddress)
    : address(std::move(bindAddress)) {
    main = BindDatagramSocket(address);
    other = BindDatagramSocket(address);
    sockaddr_in local{};
    socklen_t size = sizeof local;
    getsockname(main, reinterpret_cast<sockaddr*>(&local), &size);
    port = ntohs(local.sin_port);
}

CScriptedDatagramPeer::~CScriptedDatagramPeer() {
    StopThread();
    close(main);
    close(other);
}

CScriptedDatagramPeer& CScriptedDatagramPeer::Expect(std::string bytes) {
    const std::string description = "expect datagram \"" + Printable(bytes) + "\"";
    AddStep(description, [this, bytes = std::move(bytes)] { return ExpectDatagram(bytes); });
    return *this;
}

bool CScriptedDatagramPeer::ExpectDatagram(const std::string& expected) {
    if (!WaitReadable(main, std::chrono::steady_clock::now() + kPeerStepLimit)) {
        Fail("expected datagram \"" + Printable(expected) + "\" did not come");
        return false;
    }
    std::vector<char> datagram(65536);
    sockaddr_in from{};
    socklen_t size = sizeof from;
    const ssize_t count = recvfrom(main, datagram.data(), datagram.size(), 0,
                                   reinterpret_cast<sockaddr*>(&from), &size);
    if (count < 0) {
        Fail(std::string("receive failed: ") + std::strerror(errno));
        return false;
    }
    std::memcpy(sender.data(), &from, sizeof from);
    haveSender = true;
    const std::string got(datagram.data(), static_cast<std::size_t>(count));
    if (got != expected) {
        Fail("expected datagram \"" + Printable(expected) + "\", got \"" + Printable(got) + "\"");
        return false;
    }
    return true;
}

bool CScriptedDatagramPeer::SendFrom(int fd, const std::string& bytes) {
    if (!haveSender) {
        Fail("a reply before any datagram came");
        return false;
    }
    const ssize_t count = sendto(fd, bytes.data(), bytes.size(), 0,
                                 reinterpret_cast<const sockaddr*>(sender.data()), sizeof sender);
    if (count != static_cast<ssize_t>(bytes.size())) {
        Fail(std::string("send failed: ") + std::strerror(errno));
        return false;
    }
    return true;
}

CScriptedDatagramPeer& CScriptedDatagramPeer::Reply(std::string bytes) {
    AddStep("reply " + std::to_string(bytes.size()) + " bytes",
            [this, bytes = std::move(bytes)] { return SendFrom(main, bytes); });
    return *this;
}

CScriptedDatagramPeer& CScriptedDatagramPeer::ReplyFromOtherPort(std::string bytes) {
    AddStep("reply " + std::to_string(bytes.size()) + " bytes from another port",
            [this, bytes = std::move(bytes)] { return SendFrom(other, bytes); });
    return *this;
}

CScriptedDatagramPeer& CScriptedDatagramPeer::Pause(std::chrono::milliseconds delay) {
    AddStep("pause " + std::to_string(delay.count()) + " ms", [this, delay] {
        WaitReadable(-1, std::chrono::steady_clock::now() + delay);
        return !StopRequested();
    });
    return *this;
}

}  // namespace lanterna::test
