#pragma once
// The framed packets of the projector link: a 16-byte header, optionally followed by 18-byte
// entries. Used over UDP for the hello request and over TCP for the password probe, the connect
// request and the password change. Pure functions: bytes in, bytes or results out.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace lanterna {

inline constexpr std::size_t kPacketHeaderSize = 16;
inline constexpr std::size_t kHeaderEntrySize = 18;
inline constexpr std::size_t kEntryInformationSize = 16;

// The magic text at the start of every packet, without terminator.
inline constexpr std::string_view kPacketMagic = "QVL/TK.net";
inline constexpr std::uint8_t kPacketVersion = 0x10;

// Byte offsets inside the header.
inline constexpr std::size_t kPacketVersionOffset = 10;
inline constexpr std::size_t kPacketTypeOffset = 11;
inline constexpr std::size_t kPacketStatusOffset = 14;
inline constexpr std::size_t kPacketHeaderCountOffset = 15;

enum class PacketType : std::uint8_t {
    kHello = 1,
    kPassword = 2,
    kConnect = 3,
};

// Entry ids the application sends.
inline constexpr std::uint8_t kEntryPassword = 1;
inline constexpr std::uint8_t kEntryNewPassword = 2;
inline constexpr std::uint8_t kEntryAttribute = 1;

// Status byte of a reply that accepts the request.
inline constexpr std::uint8_t kStatusAccepted = 0x20;
// Status byte of a probe reply that asks for a password; a connect or password change with a
// password the projector does not take is answered with it too.
inline constexpr std::uint8_t kStatusPasswordRequired = 0x41;
// What Authenticate and ChangePassword make of that status (StatusToResult).
inline constexpr int kPasswordNotTaken = -3;

using PacketBytes = std::vector<std::uint8_t>;

// The 16-byte header: magic, version 0x10, `type`, two reserved zero bytes, status 0 and
// `headerCount`.
std::array<std::uint8_t, kPacketHeaderSize> EncodePacketHeader(PacketType type,
                                                               std::uint8_t headerCount);

// One 18-byte entry: id, attribute, and `information` copied byte for byte up to 16 bytes and
// zero-padded; a text of 16 bytes or more fills the field without terminator.
std::array<std::uint8_t, kHeaderEntrySize> EncodeHeaderEntry(std::uint8_t id,
                                                             std::uint8_t attribute,
                                                             std::string_view information);

// The requests, with their lengths: hello 16, probe 16, connect 16 (empty password) or 34,
// password change 52.
PacketBytes BuildHelloRequest();
PacketBytes BuildPasswordProbeRequest();
PacketBytes BuildConnectRequest(std::string_view password);
PacketBytes BuildPasswordChangeRequest(std::string_view currentPassword,
                                       std::string_view newPassword);

// Result of a connect or password change from the reply's status byte: 0x20 -> 1, 0x40 -> -2,
// 0x41 -> -3, 0x43 -> -4, 0x45 -> -5, 0x53 -> -6, 0x55 -> -7, anything else -> -1.
int StatusToResult(std::uint8_t status);

// Result of the password probe: 0x20 -> 0 (no password needed), 0x41 -> 1 (a password is
// needed), anything else -> -1.
int ProbeStatusToResult(std::uint8_t status);

// The status byte of a reply of at least 16 bytes.
inline std::uint8_t ReplyStatus(std::span<const std::uint8_t> reply) {
    return reply[kPacketStatusOffset];
}

}  // namespace lanterna
