#pragma once
// The fixed-layout packets of the projector: the 16-byte header with its 18-byte entries
// (handshake over TCP, hello over UDP) and the secondary search datagrams.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lanterna::sim {

inline constexpr std::size_t kPacketHeaderSize = 16;
inline constexpr std::size_t kPacketEntrySize = 18;
inline constexpr std::size_t kEntryTextSize = 16;
inline constexpr std::string_view kPacketMagic = "QVL/TK.net";
inline constexpr std::uint8_t kPacketVersion = 0x10;

enum PacketType : std::uint8_t {
    kPacketHello = 1,
    kPacketPassword = 2,
    kPacketConnect = 3,
};

// Status bytes of the replies.
inline constexpr std::uint8_t kStatusAccepted = 0x20;
inline constexpr std::uint8_t kStatusBadRequest = 0x40;
// A wrong password; to the password probe it means that a password is required.
inline constexpr std::uint8_t kStatusPasswordRefused = 0x41;

struct PacketHeader {
    std::uint8_t version = kPacketVersion;
    std::uint8_t type = 0;
    std::uint8_t status = 0;
    std::uint8_t headerCount = 0;
};

struct PacketEntry {
    std::uint8_t id = 0;
    std::uint8_t attribute = 0;
    std::string information;  // up to the first zero byte, at most 16 bytes

    bool operator==(const PacketEntry&) const = default;
};

// None when `bytes` is shorter than a header or does not begin with the magic text.
std::optional<PacketHeader> DecodePacketHeader(std::span<const std::uint8_t> bytes);

// `bytes` holds at least one entry.
PacketEntry DecodePacketEntry(std::span<const std::uint8_t> bytes);

// Header and entries; `information` texts are cut to 16 bytes and zero-padded.
std::vector<std::uint8_t> EncodePacket(const PacketHeader& header,
                                       const std::vector<PacketEntry>& entries);

// A hello request: magic, version 0x10, type 1 and status 0 (so that a reply is never taken
// for a request).
bool IsHelloRequest(std::span<const std::uint8_t> datagram);

// The hello reply: entry 1 carries the name, entry 2 the interface-module type as its
// attribute and the hardware address as its text, entry 3 is empty. Byte 14 is `status`,
// byte 15 `headerCount`; min(headerCount, 3) entries follow.
std::vector<std::uint8_t> BuildHelloReply(std::string_view name, std::uint8_t imType,
                                          std::string_view mac, std::uint8_t status,
                                          std::uint8_t headerCount);

inline constexpr std::array<std::uint8_t, 4> kSecondaryRequest{0x02, 0x00, 0x00, 0x0F};
inline constexpr std::size_t kSecondaryAnswerSize = 120;
inline constexpr std::size_t kSecondaryNameOffset = 4;
inline constexpr std::size_t kSecondaryNameChars = 40;
inline constexpr std::size_t kSecondaryAddressOffset = 86;
inline constexpr std::size_t kSecondaryAddressChars = 16;

bool IsSecondaryRequest(std::span<const std::uint8_t> datagram);

// 120 bytes: bytes 0-1 echo the request's first two bytes, 3 as a 16-bit little-endian value
// at offset 2, the name (at most 40 characters) and the dotted address (at most 16) as
// zero-terminated UTF-16LE at offsets 4 and 86 (texts converted by Utf16Of).
std::array<std::uint8_t, kSecondaryAnswerSize> BuildSecondaryAnswer(std::string_view name,
                                                                    std::string_view address);

// UTF-8 to UTF-16 code units; each byte of a malformed sequence or of a character beyond
// the basic plane becomes '?'.
std::u16string Utf16Of(std::string_view text);

}  // namespace lanterna::sim
