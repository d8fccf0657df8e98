#pragma once
// IPv4 addresses as four octets, first octet first, and their dotted text "%d.%d.%d.%d".

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lanterna {

using Octets = std::array<std::uint8_t, 4>;

// The dotted text of the unset address.
inline constexpr std::string_view kAllZeroAddress = "0.0.0.0";

// "%d.%d.%d.%d" of the four octets.
std::string FormatDotted(const Octets& octets);

// Reads `text` the way sscanf(text, "%d.%d.%d.%d", ...) does: each number may follow white
// space and carry a sign, the points must match literally, and reading stops at the first
// mismatch. Returns how many numbers were read (0 to 4); `numbers` beyond that are untouched.
// Values that overflow an int saturate instead of invoking undefined behaviour.
int ScanDotted(std::string_view text, std::array<int, 4>& numbers);

// Scans `text` and stores each number read as its low 8 bits; octets not read stay as they
// were. Returns the count of numbers read.
int ScanDottedInto(std::string_view text, Octets& octets);

// Scans as ScanDottedInto does, but refuses a text in which a number read lies outside 0..255
// or a fifth part follows the fourth number ("1.2.3.4.5", "1.2.3.4."): then -1, with `octets`
// untouched. Otherwise the count of numbers read.
int ScanDottedOctetsInRange(std::string_view text, Octets& octets);

// The 32-bit value with the first octet in the most significant byte.
std::uint32_t ToHostOrder(const Octets& octets);
Octets FromHostOrder(std::uint32_t value);

bool IsZeroAddress(const Octets& octets);

}  // namespace lanterna
