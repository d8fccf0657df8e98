#pragma once
// How the simulated projector reads set arguments: strict parsers that refuse anything a
// projector would not take, and the text rules of its settings.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "record/DottedAddress.h"

namespace lanterna::sim {

// The space-separated parts of an argument; runs of spaces count as one separator and empty
// parts are skipped.
std::vector<std::string_view> SplitParts(std::string_view text);

// Four decimal groups of one to three digits, each at most 255, joined by single points;
// nothing else (no sign, no blank, no fifth group).
std::optional<Octets> ParseDottedStrict(std::string_view text);

// One or more decimal digits and nothing else, at most `maximum`.
std::optional<std::uint32_t> ParseDecimal(std::string_view text, std::uint32_t maximum);

// One to four hexadecimal digits and nothing else.
std::optional<std::uint16_t> ParseHexWord(std::string_view text);

// "ON" or "OFF" exactly.
std::optional<bool> ParseOnOff(std::string_view text);

bool IsHexDigits(std::string_view text);
bool IsHardwareAddress(std::string_view text);  // 12 hexadecimal digits

// 1 to 15 bytes of letters, digits and '-'.
bool IsNameText(std::string_view text);
// At most 96 bytes of letters, digits, '.' and '-'.
bool IsDomainText(std::string_view text);
// At most 8 letters and digits.
bool IsCommunityText(std::string_view text);
// Empty, or at most 64 bytes with an '@', no blank, control byte or any of "\"/\[]:;|=,+*?<>.
bool IsMailText(std::string_view text);
// At most 32 bytes from 0x20 to 0x7E except ':', not starting with a space.
bool IsEssidText(std::string_view text);
// A WEP key in its wire form: 10 or 26 hexadecimal digits.
bool IsWireWepKey(std::string_view text);
// Six decimal digits.
bool IsSecurityCode(std::string_view text);

}  // namespace lanterna::sim
