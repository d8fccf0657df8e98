#pragma once
// How the values of the network command set travel: reading a query's value text into the
// fields of a ProjectorRecord, and forming a set command's argument from them. Pure functions.
//
// Conventions of the command language:
// - addresses travel as "%d.%d.%d.%d" and are read back with the same pattern; a text that does
//   not parse leaves the octets as they were;
// - on/off travels as "ON"/"OFF"; a value counts as on when it begins with "ON";
// - numbers travel in decimal and are read like atoi (no digits gives 0);
// - multi-part values are split on spaces, runs of spaces counting as one separator.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "record/ProjectorRecord.h"

namespace lanterna {

// A read WEP key (NWWEP1 ... NWWEP4) of this length or more is not kept.
inline constexpr std::size_t kWepKeyValueLimit = 256;

// ---- reading ----------------------------------------------------------------------------------

// The non-empty space-separated parts of `value`.
std::vector<std::string_view> SplitValueParts(std::string_view value);

// 1 when `value` begins with "ON", else 0.
std::int32_t ReadOnPrefix(std::string_view value);

// The decimal number at the start of `value` as atoi reads it: leading white space and one sign
// are skipped, reading stops at the first non-digit, no digits give 0. Saturates instead of
// overflowing.
std::int32_t ReadDecimal(std::string_view value);

// Parses one dotted part (cut to 63 bytes, as held in a 64-byte text) into `octets`; an empty or
// unreadable part leaves the octets that were not read as they were.
void ReadDottedPart(std::string_view part, Octets& octets);

// NWCNF: "ON"/"OFF" sets `dhcp`; with DHCP off, parts 2 to 4 go to ipAddress, subnetMask and
// gateway. Parts beyond the fourth are ignored.
void ReadAddressConfig(std::string_view value, ProjectorRecord& record);

// NWWLCNF (every module type but 22): as NWCNF, then the mode (4 essidSet, 2 wepEnabled,
// 1 adhoc; a value outside 0 to 7 sets all three), then the ESSID and the WEP key. In modes 2 and
// 3 the sixth part is the WEP key and `essid` is left as it was.
void ReadBasicWirelessConfig(std::string_view value, ProjectorRecord& record);

// NWWLCNFS (type 22): as NWCNF, then the mode (0 no ESSID, infrastructure; 1 no ESSID, ad hoc;
// 2 ESSID, infrastructure; anything else ESSID, ad hoc), then the ESSID, read only when the mode
// announces one.
void ReadExtendedWirelessConfig(std::string_view value, ProjectorRecord& record);

// NWDNS, NWWINS and their wireless twins: the first two parts into `first` and `second`.
void ReadAddressPair(std::string_view value, Octets& first, Octets& second);

// NWWLSEC: characters 1, 2, 3-4 and 5-6 each read as a decimal number.
std::array<std::int32_t, 4> ReadSecurityCode(std::string_view value);

// NWWEP1 ... NWWEP4: the key text, or the empty text for a value of kWepKeyValueLimit bytes or
// more.
std::string_view ReadWepKeyValue(std::string_view value);

// ---- writing ----------------------------------------------------------------------------------

// "ON" or "OFF".
std::string_view OnOffArgument(std::int32_t on);

// NWCNF: "ON 0.0.0.0 0.0.0.0 0.0.0.0" with DHCP on, else "OFF" and the three addresses.
std::string AddressConfigArgument(const ProjectorRecord& record);

// NWWLCNF: the address part, the mode (4 essidSet + 2 wepEnabled + adhoc), the ESSID (empty when
// essidSet is 0) and the WEP key in hexadecimal form (empty when wepEnabled is 0); in modes 0 and
// 1 both texts are empty. Empty texts keep their separating spaces. False when WEP is on and the
// key has no hexadecimal form: the line would give the projector a key the user never chose.
bool BasicWirelessConfigArgument(const ProjectorRecord& record, std::string& argument);

// NWWLCNFS: the address part and the mode (2 essidSet + adhoc) as "%02d"; modes 02 and 03 carry
// the ESSID behind it.
std::string ExtendedWirelessConfigArgument(const ProjectorRecord& record);

// NWDNS, NWWINS and their wireless twins: the two dotted addresses joined by one space.
std::string AddressPairArgument(const Octets& first, const Octets& second);

// NWWLSEC: "%d%d%02d%02d".
std::string SecurityCodeArgument(const std::array<std::int32_t, 4>& security);

// NWWEP1 ... NWWEP4: "INIT" for the empty key, else its hexadecimal form. False for a key that
// has none.
bool WepKeyArgument(std::string_view key, std::string& argument);

}  // namespace lanterna
