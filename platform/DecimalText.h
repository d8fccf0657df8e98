#pragma once
// Decimal numbers at the start of a text, as the C library's atoi reads them: optional white
// space, an optional sign, then digits; reading stops at the first other byte. Values beyond
// the int range saturate instead of invoking undefined behaviour.

#include <cstdint>
#include <optional>
#include <string_view>

namespace lanterna {

// The number the leading digits give, or nullopt when the text (after white space and sign)
// does not start with a digit.
std::optional<int> ScanLeadingDecimal(std::string_view text);

// The same without the cut to int, so that a caller can tell a number beyond its field's range.
// Digits past the eighteenth are passed over (no field is that wide).
std::optional<long long> ScanLeadingDecimalWide(std::string_view text);

// atoi: 0 when the text has no leading number.
inline int LeadingDecimal(std::string_view text) {
    return ScanLeadingDecimal(text).value_or(0);
}

// The white space of the profile and registry texts: ASCII only, so a byte of a double-byte
// character is never taken for it.
inline bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view TrimAsciiSpace(std::string_view text);

// The whole of `text` as a number, as a command line gives it: decimal (with an optional '-'),
// or hexadecimal after "0x" or "0X". Nothing for an empty text, a stray byte or an overflow.
std::optional<std::int64_t> ParseWholeNumber(std::string_view text);

}  // namespace lanterna
