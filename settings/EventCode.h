#pragma once
// The wire form of a mail recipient's event set: the 11 event bits of the record travel as two
// 16-bit codes written "%04x %04x". Record bits 0-3 go to the first code as 0x0001, 0x0002,
// 0x0008 and 0x0010 (0x0004 of the first code is never used); bits 4-10 go to the second code
// as 0x0001 to 0x0040.

#include <cstdint>
#include <string>
#include <string_view>

namespace lanterna {

// The two codes of `eventSet` as "%04x %04x" (lower case). Bits above 10 are ignored.
std::string EventCode(std::uint32_t eventSet);

// The event set of a reply value such as "001b 007f": the value is split on blanks, the first
// part read with "%04x" as the first code and the second part as the second code (a missing
// or unreadable part reads as 0). Code bits outside the mapping, 0x0004 of the first code
// among them, are ignored.
std::uint32_t EventSetFromCode(std::string_view value);

}  // namespace lanterna
