#include "link/LinkPacket.h"

#include <algorithm>

namespace lanterna {

namespace {

PacketBytes BuildRequest(PacketType type,
                         std::span<const std::array<std::uint8_t, kHeaderEntrySize>> entries) {
    const auto header = EncodePacketHeader(type, static_cast<std::uint8_t>(entries.size()));
    PacketBytes packet(header.begin(), header.end());
    for (const auto& entry : entries) {
        packet.insert(packet.end(), entry.begin(), entry.end());
    }
    return packet;
}

}  // namespace

std::array<std::uint8_t, kPacketHeaderSize> EncodePacketHeader(PacketType type,
                                                               std::uint8_t headerCount) {
    std::array<std::uint8_t, kPacketHeaderSize> header{};
    std::copy(kPacketMagic.begin(), kPacketMagic.end(), header.begin());
    header[kPacketVersionOffset] = kPacketVersion;
    header[kPacketTypeOffset] = static_cast<std::uint8_t>(type);
    header[kPacketHeaderCountOffset] = headerCount;
    return header;
}

std::array<std::uint8_t, kHeaderEntrySize> EncodeHeaderEntry(std::uint8_t id,
                                                             std::uint8_t attribute,
                                                             std::string_view information) {
    std::array<std::uint8_t, kHeaderEntrySize> entry{};
    entry[0] = id;
    entry[1] = attribute;
    const std::size_t count = std::min(information.size(), kEntryInformationSize);
    std::copy_n(information.begin(), count, entry.begin() + 2);
    return entry;
}

PacketBytes BuildHelloRequest() {
    return BuildRequest(PacketType::kHello, {});
}

PacketBytes BuildPasswordProbeRequest() {
    return BuildRequest(PacketType::kPassword, {});
}

PacketBytes BuildConnectRequest(std::string_view password) {
    if (password.empty()) {
        return BuildRequest(PacketType::kConnect, {});
    }
    const std::array<std::array<std::uint8_t, kHeaderEntrySize>, 1> entries{
        EncodeHeaderEntry(kEntryPassword, kEntryAttribute, password)};
    return BuildRequest(PacketType::kConnect, entries);
}

PacketBytes BuildPasswordChangeRequest(std::string_view currentPassword,
                                       std::string_view newPassword) {
    const std::array entries{
        EncodeHeaderEntry(kEntryPassword, kEntryAttribute, currentPassword),
        EncodeHeaderEntry(kEntryNewPassword, kEntryAttribute, newPassword),
    };
    return BuildRequest(PacketType::kPassword, entries);
}

int StatusToResult(std::uint8_t status) {
    switch (status) {
        case kStatusAccepted:
            return 1;
        case 0x40:
            return -2;
        case kStatusPasswordRequired:
            return kPasswordNotTaken;
        case 0x43:
            return -4;
        case 0x45:
            return -5;
        case 0x53:
            return -6;
        case 0x55:
            return -7;
        default:
            return -1;
    }
}

int ProbeStatusToResult(std::uint8_t status) {
    switch (status) {
        case kStatusAccepted:
            return 0;
        case kStatusPasswordRequired:
            return 1;
        default:
            return -1;
    }
}

}  // namespace lanterna
