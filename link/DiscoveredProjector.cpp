#include "link/DiscoveredProjector.h"

#include <algorithm>

#include "link/LinkPacket.h"

namespace lanterna {

namespace {

std::uint8_t ByteAt(std::span<const std::uint8_t> datagram, std::size_t offset) {
    return offset < datagram.size() ? datagram[offset] : 0;
}

}  // namespace

std::optional<DiscoveredProjector> DecodeHelloReply(std::span<const std::uint8_t> datagram,
                                                    std::string_view sourceAddress,
                                                    std::uint16_t sourcePort,
                                                    std::uint16_t expectedPort) {
    if (sourcePort != expectedPort || ByteAt(datagram, kPacketStatusOffset) == 0 ||
        ByteAt(datagram, kPacketHeaderCountOffset) != kHelloReplyHeaderCount) {
        return std::nullopt;
    }
    DiscoveredProjector projector;
    projector.imType = ByteAt(datagram, kHelloImTypeOffset);
    if (projector.imType == kRejectedImType) {
        return std::nullopt;
    }
    const auto nameBytes = datagram.subspan(std::min(kHelloNameOffset, datagram.size()));
    const std::string_view name(reinterpret_cast<const char*>(nameBytes.data()),
                                std::min(nameBytes.size(), kHelloNameLength));
    CopyText(projector.name, name.substr(0, std::min(name.find('\0'), name.size())));
    CopyText(projector.address, sourceAddress);
    return projector;
}

}  // namespace lanterna
