#include "tools/projector-sim/Discovery.h"

#include <sys/socket.h>

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "tools/projector-sim/Packets.h"
#include "tools/projector-sim/Sockets.h"

namespace lanterna::sim {

namespace {

struct Datagram {
    std::array<std::uint8_t, 2048> bytes{};
    std::size_t size = 0;
    sockaddr_in source{};
};

bool Receive(int socket, Datagram& datagram) {
    socklen_t length = sizeof datagram.source;
    const ssize_t n = ::recvfrom(socket, datagram.bytes.data(), datagram.bytes.size(), 0,
                                 reinterpret_cast<sockaddr*>(&datagram.source), &length);
    if (n < 0) {
        return false;
    }
    datagram.size = static_cast<std::size_t>(n);
    return true;
}

void SendTo(int socket, std::span<const std::uint8_t> bytes, const sockaddr_in& target) {
    // A lost answer is what UDP allows; the searcher simply does not see this projector.
    ::sendto(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL,
             reinterpret_cast<const sockaddr*>(&target), sizeof target);
}

std::string AddressText(in_addr address) {
    sockaddr_in socketAddress{};
    socketAddress.sin_addr = address;
    return DottedOf(socketAddress);
}

}  // namespace

void AnswerHelloDatagram(int socket, int replySocket, in_addr ownAddress, ProjectorState& state) {
    Datagram request;
    if (!Receive(socket, request) ||
        !IsHelloRequest(std::span(request.bytes.data(), request.size))) {
        return;
    }
    const DiscoveryConfig discovery = state.Discovery();
    if (!discovery.answerHello) {
        return;
    }
    const ProjectorSettings settings = state.Settings();
    const auto reply = BuildHelloReply(settings.name, settings.imType, settings.mac,
                                       discovery.helloStatus, discovery.helloHeaderCount);
    state.CountHello();  // before the answer, so whoever receives it sees the count
    if (discovery.helloFromOtherPort) {
        std::string reason;
        const UniqueFd other = OpenUdp(ownAddress, 0, false, reason);
        if (other.Valid()) {
            SendTo(other.Get(), reply, request.source);
        }
    } else {
        SendTo(replySocket, reply, request.source);
    }
}

void AnswerSecondaryDatagram(int socket, int replySocket, in_addr ownAddress,
                             ProjectorState& state) {
    Datagram request;
    if (!Receive(socket, request) ||
        !IsSecondaryRequest(std::span(request.bytes.data(), request.size))) {
        return;
    }
    const DiscoveryConfig discovery = state.Discovery();
    if (!discovery.answerSecondary) {
        return;
    }
    const std::string name = discovery.secondaryEmptyName ? std::string() : state.Settings().name;
    const auto answer = BuildSecondaryAnswer(name, AddressText(ownAddress));
    state.CountSecondary();
    SendTo(replySocket, answer, request.source);
}

}  // namespace lanterna::sim
