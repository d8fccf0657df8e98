#include "tools/projector-sim/Packets.h"

#include <algorithm>
#include <cstring>

namespace lanterna::sim {

std::optional<PacketHeader> DecodePacketHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kPacketHeaderSize ||
        std::memcmp(bytes.data(), kPacketMagic.data(), kPacketMagic.size()) != 0) {
        return std::nullopt;
    }
    return PacketHeader{bytes[10], bytes[11], bytes[14], bytes[15]};
}

PacketEntry DecodePacketEntry(std::span<const std::uint8_t> bytes) {
    PacketEntry entry;
    entry.id = bytes[0];
    entry.attribute = bytes[1];
    const auto text = bytes.subspan(2, kEntryTextSize);
    const auto end = std::find(text.begin(), text.end(), std::uint8_t{0});
    entry.information.assign(text.begin(), end);
    return entry;
}

std::vector<std::uint8_t> EncodePacket(const PacketHeader& header,
                                       const std::vector<PacketEntry>& entries) {
    std::vector<std::uint8_t> bytes(kPacketHeaderSize + entries.size() * kPacketEntrySize, 0);
    std::memcpy(bytes.data(), kPacketMagic.data(), kPacketMagic.size());
    bytes[10] = header.version;
    bytes[11] = header.type;
    bytes[14] = header.status;
    bytes[15] = header.headerCount;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::uint8_t* entry = bytes.data() + kPacketHeaderSize + i * kPacketEntrySize;
        entry[0] = entries[i].id;
        entry[1] = entries[i].attribute;
        std::memcpy(entry + 2, entries[i].information.data(),
                    std::min(entries[i].information.size(), kEntryTextSize));
    }
    return bytes;
}

bool IsHelloRequest(std::span<const std::uint8_t> datagram) {
    const auto header = DecodePacketHeader(datagram);
    return header && header->version == kPacketVersion && header->type == kPacketHello &&
           header->status == 0;
}

std::vector<std::uint8_t> BuildHelloReply(std::string_view name, std::uint8_t imType,
                                          std::string_view mac, std::uint8_t status,
                                          std::uint8_t headerCount) {
    std::vector<PacketEntry> entries{
        {1, 1, std::string(name.substr(0, kEntryTextSize))},
        {2, imType, std::string(mac.substr(0, kEntryTextSize))},
        {3, 0, std::string()},
    };
    entries.resize(std::min<std::size_t>(headerCount, entries.size()));
    return EncodePacket({kPacketVersion, kPacketHello, status, headerCount}, entries);
}

bool IsSecondaryRequest(std::span<const std::uint8_t> datagram) {
    return datagram.size() == kSecondaryRequest.size() &&
           std::equal(datagram.begin(), datagram.end(), kSecondaryRequest.begin());
}

std::u16string Utf16Of(std::string_view text) {
    std::u16string units;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80          ? 1
                                   : (lead >> 5) == 0x6 ? 2
                                   : (lead >> 4) == 0xE ? 3
                                                        : 0;
        char32_t code = length == 1 ? lead : length == 2 ? (lead & 0x1F) : (lead & 0x0F);
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next >> 6) == 0x2;
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid) {
            units.push_back(u'?');
            ++i;
            continue;
        }
        units.push_back(static_cast<char16_t>(code));
        i += length;
    }
    return units;
}

namespace {

void PutUtf16(std::span<std::uint8_t> field, std::string_view text, std::size_t maxChars) {
    std::u16string units = Utf16Of(text);
    units.resize(std::min(units.size(), maxChars));
    for (std::size_t i = 0; i < units.size(); ++i) {
        field[2 * i] = static_cast<std::uint8_t>(units[i] & 0xFF);
        field[2 * i + 1] = static_cast<std::uint8_t>(units[i] >> 8);
    }
}

}  // namespace

std::array<std::uint8_t, kSecondaryAnswerSize> BuildSecondaryAnswer(std::string_view name,
                                                                    std::string_view address) {
    std::array<std::uint8_t, kSecondaryAnswerSize> answer{};
    answer[0] = kSecondaryRequest[0];
    answer[1] = kSecondaryRequest[1];
    answer[2] = 3;
    answer[3] = 0;
    const std::span<std::uint8_t> bytes(answer);
    PutUtf16(bytes.subspan(kSecondaryNameOffset, kSecondaryAddressOffset - kSecondaryNameOffset),
             name, kSecondaryNameChars);
    PutUtf16(bytes.subspan(kSecondaryAddressOffset), address, kSecondaryAddressChars);
    return answer;
}

}  // namespace lanterna::sim
