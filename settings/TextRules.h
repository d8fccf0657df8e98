#pragma once
// Validation rules for the texts a user types: names, mail addresses, port numbers, wireless
// keys, file names. Pure functions over bytes; see settings/ByteClasses.h for what counts as a
// letter or a digit (ASCII only).

#include <cstddef>
#include <string>
#include <string_view>

namespace lanterna {

// Key sizes of IsWepKey.
inline constexpr int kWepKeySize64 = 1;
inline constexpr int kWepKeySize128 = 2;

// 1 to 15 bytes of letters, digits and '-', not digits only.
int IsProjectorName(std::string_view text);

// 0 to 96 bytes of letters, digits, '.' and '-'.
int IsDomainName(std::string_view text);

// At most 64 bytes, holds '@', none of the forbidden mail characters and no control byte.
// Bytes of 0x80 and above are allowed.
int IsMailAddress(std::string_view text);

// The longest projector name, in bytes.
inline constexpr std::size_t kProjectorNameMax = 15;

// The highest TCP port number.
inline constexpr int kPortNumberMax = 65535;

// Not empty; the value of the leading decimal digits (0 when there are none, trailing bytes
// ignored) is from 1 to 65535.
int IsPortNumber(std::string_view text);

// 0 to 8 bytes of letters and digits (the empty name passes here; the SNMP dialog refuses it).
int IsCommunityName(std::string_view text);

// 0 to 32 bytes of letters, digits and '-'.
int IsEssidBasic(std::string_view text);

// 0 to 32 bytes from 0x21 to 0x7E except ':'.
int IsEssid(std::string_view text);

// 5 or 13 letters and digits (a character key) or 10 or 26 hex digits (a hex key).
int IsWepKeyBasic(std::string_view text);

// The empty key (no key) is accepted. With `size` kWepKeySize64 a key of 5 or 10 bytes, with
// any other size one of 13 or 26 bytes, under the byte rules of IsWepKeyBasic.
int IsWepKey(std::string_view text, int size);

// 8 to 63 bytes from 0x21 to 0x7E except ':'.
int IsWpaPsk(std::string_view text);

// 1 to 64 bytes from 0x21 to 0x7E except ':'.
int IsLeapUserName(std::string_view text);
int IsLeapPassword(std::string_view text);

// 1 when every byte of the base name of `path` (after the last '/', before its last '.') lies
// from 0x20 to 0x7F. The folder and the extension are not tested.
int IsPlainFileName(std::string_view path);

// Appends the hexadecimal form of a WEP key to `output`: a 5- or 13-byte character key as two
// lower-case hex digits per byte, a 10- or 26-byte hex key as it is (letter case kept). Returns
// 1, or 0 without touching `output` for any other length or a hex key with a non-hex byte.
int WepKeyToHex(std::string_view key, std::string& output);

}  // namespace lanterna
