#pragma once
// One projector that answered a hello request, and the decoding of its reply datagram.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/FixedText.h"

namespace lanterna {

struct DiscoveredProjector {
    FixedText<16> name{};     // projector name, at most 15 bytes
    FixedText<21> address{};  // source address of the reply, dotted, at most 20 bytes
    std::uint8_t imType = 0;  // interface-module type
};

// Byte offsets in a hello reply.
inline constexpr std::size_t kHelloNameOffset = 18;
inline constexpr std::size_t kHelloImTypeOffset = 35;
inline constexpr std::size_t kHelloNameLength = 15;
inline constexpr std::uint8_t kHelloReplyHeaderCount = 3;
// Interface modules of this type are never admitted.
inline constexpr std::uint8_t kRejectedImType = 20;

// Decodes one datagram received from `sourceAddress`:`sourcePort`. Keeps it only when it came
// from `expectedPort`, its status byte is not zero and its header count is exactly 3, and
// drops it when the module type is 20. Bytes beyond the end of a short datagram read as zero.
std::optional<DiscoveredProjector> DecodeHelloReply(std::span<const std::uint8_t> datagram,
                                                    std::string_view sourceAddress,
                                                    std::uint16_t sourcePort,
                                                    std::uint16_t expectedPort);

}  // namespace lanterna
