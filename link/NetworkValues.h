#pragma once
// How the values of the network command set travel: reading a query's value text into the
// fields of a ProjectorRecord, and forming a set command's argument from them. Pure functions.
//
// A received value is taken only when it has exactly the form of its command below; otherwise
// nothing of it is taken (the reading functions return false and leave every output as it was),
// and the setting stays unread. Nothing is ever converted, cut or guessed.
//
// Forms of the parts:
// - part:    the value is split on spaces, a run of spaces counting as one separator (leading
//            and trailing spaces separate nothing); "whole" values are taken as they are;
// - address: four decimal octets 0-255 of one to three digits each, joined by ".", and
//            nothing else;
// - on/off:  "ON" or "OFF";
// - decimal: one to ten digits (no sign, no blank) within the range given;
// - hex word: one to four hexadecimal digits;
// - text(n): at most n bytes, none of them a zero byte (the field could not hold it whole).
//
// | command                      | parts | form                                                |
// |------------------------------|-------|-----------------------------------------------------|
// | NWIF                         | 1     | decimal 0-65535 (0 wired, any other wireless)        |
// | NWMAC, NWWLMAC               | 1     | exactly 12 hexadecimal digits                       |
// | NWPNAME                      | whole | text(15)                                            |
// | NWCNF                        | 4     | on/off, address, address, address                   |
// | NWWLCNF                      | 5-7   | as NWCNF; mode decimal 0-7; then text(35) ESSID     |
// |                              |       | when mode bit 4 is set, then text(27) WEP key when  |
// |                              |       | bit 2 is set, and no other part                     |
// | NWWLCNFS                     | 5-6   | as NWCNF; mode decimal 0-3; a text(35) ESSID when   |
// |                              |       | the mode is 2 or 3, and no other part               |
// | NWDNS, NWWLDNS,              | 2     | address, address                                    |
// | NWWINS, NWWLWINS             |       |                                                     |
// | NWDNSDMN, NWWLDNSDMN         | whole | text(96)                                            |
// | NWSMTPACT                    | 1     | on/off                                              |
// | NWSMTPSRV, NWTRAPIP1, 2      | 1     | address                                             |
// | NWSMTPPORT                   | 1     | decimal 0-65535                                     |
// | NWSMTPTO1, 2, 3              | whole | text(64)                                            |
// | NWSMTPEVT1, 2, 3             | 2     | hex word, hex word (bits outside the event mapping  |
// |                              |       | are ignored, see EventSetFromCode)                  |
// | NWCNAME                      | whole | text(8)                                             |
// | NWPRIMIF                     | 1     | decimal 0-65535                                     |
// | NWWLSEC                      | 1     | exactly six decimal digits                          |
// | NWWEPID                      | 1     | decimal 1-4                                         |
// | NWWEP1, 2, 3, 4              | whole | text(26)                                            |
//
// With DHCP on ("ON"), the three addresses of an address configuration must still have their
// form, but the record keeps the octets it had.
//
// Sending: addresses travel as "%d.%d.%d.%d", on/off as "ON"/"OFF", numbers in decimal.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "record/ProjectorRecord.h"

namespace lanterna {

// ---- reading ----------------------------------------------------------------------------------

// The non-empty space-separated parts of `value`.
std::vector<std::string_view> SplitValueParts(std::string_view value);

// One part of an exact form; false (output untouched) for anything else.
bool ReadOnOff(std::string_view part, std::int32_t& on);
bool ReadDecimal(std::string_view part, std::uint32_t minimum, std::uint32_t maximum,
                 std::uint32_t& number);
bool ReadDottedAddress(std::string_view part, Octets& octets);

// Whether `text` is a text of at most `limit` bytes without a zero byte.
bool IsValueText(std::string_view text, std::size_t limit);

// A whole text value into `field` when the field holds it whole: at most N - 1 bytes, no zero
// byte.
template <std::size_t N>
bool ReadFieldText(std::string_view value, FixedText<N>& field) {
    if (!IsValueText(value, N - 1)) {
        return false;
    }
    CopyText(field, value);
    return true;
}

// NWMAC, NWWLMAC.
bool IsHardwareAddressValue(std::string_view value);

// NWCNF: "ON"/"OFF" sets `dhcp`; with DHCP off, parts 2 to 4 go to ipAddress, subnetMask and
// gateway.
bool ReadAddressConfig(std::string_view value, ProjectorRecord& record);

// NWWLCNF (every module type but 22): as NWCNF, then the mode (4 essidSet, 2 wepEnabled,
// 1 adhoc), then the ESSID when the mode has one and the WEP key when the mode has one. An
// ESSID or key that the mode does not carry is left as it was.
bool ReadBasicWirelessConfig(std::string_view value, ProjectorRecord& record);

// NWWLCNFS (type 22): as NWCNF, then the mode (0 no ESSID, infrastructure; 1 no ESSID, ad hoc;
// 2 ESSID, infrastructure; 3 ESSID, ad hoc), then the ESSID when the mode announces one.
bool ReadExtendedWirelessConfig(std::string_view value, ProjectorRecord& record);

// NWDNS, NWWINS and their wireless twins: the two addresses into `first` and `second`.
bool ReadAddressPair(std::string_view value, Octets& first, Octets& second);

// NWSMTPEVT1 ... NWSMTPEVT3: the two wire words as the record's event set.
bool ReadEventSet(std::string_view value, std::uint32_t& eventSet);

// NWWLSEC: the six digits as 1, 1, 2 and 2 digits.
bool ReadSecurityCode(std::string_view value, std::array<std::int32_t, 4>& security);

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
