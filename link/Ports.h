#pragma once
// Fixed network constants of the projector link and discovery.

#include <cstdint>

namespace lanterna {

// TCP link, hello request and hello replies.
inline constexpr std::uint16_t kProjectorPort = 3629;

// Destination port of the secondary search request. The projectors' network modules listen
// for the 4-byte request on this port and answer from whatever port they like; the searcher
// takes answers from any port.
inline constexpr std::uint16_t kSecondarySearchPort = 3620;

}  // namespace lanterna
