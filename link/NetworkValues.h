#pragma once
// How the values of the network command set travel: reading a query's value text into the
// fields of a ProjectorRecord, and forming a set command's argument from them. Pure functions.
//
// Before its form is checked a value loses the blanks around it and a line end behind it. A
// value of its command's form below is taken; anything else is refused whole (the reading
// function returns false and leaves every output as it was) and the setting stays unread. A
// text longer than its field is taken cut to it and marked cut (kStateCut): shown, never sent,
// saved or kept in history until the user enters a value. Nothing else is converted or guessed.
//
// Forms of the parts:
// - part:    the value is split on spaces, a run of spaces counting as one separator;
//            "whole" values are taken as they are;
// - address: four decimal octets 0-255 of one to three digits each, joined by ".";
// - on/off:  "ON" or "OFF";
// - decimal: one to ten digits (no sign, no blank) within the range given;
// - hex word: one to four hexadecimal digits;
// - text:    no zero byte;
// - ESSID:   at most 35 bytes of 0x20-0x7E without ':', inner spaces kept as they came;
// - stale key: exactly 10 or 26 hexadecimal digits.
//
// | command           | form taken                                 | cut    | tolerated / refused |
// |-------------------|--------------------------------------------|--------|---------------------|
// | NWIF              | decimal 0-65535 (0 wired, other wireless)  |        | refused: else       |
// | NWMAC, NWWLMAC    | exactly 12 hexadecimal digits              |        | refused: else       |
// | NWPNAME           | whole text                                 | to 15  |                     |
// | NWCNF             | on/off, address, address, address          |        | tolerated: parts    |
// |                   | (kept as reported, DHCP on too); "ON"      |        | beyond the fourth;  |
// |                   | alone: DHCP on, addresses not reported     |        | refused: "OFF"      |
// |                   |                                            |        | alone, 2-3 parts    |
// | NWWLCNF           | as NWCNF's four; mode decimal (4 ESSID,    |        | tolerated: mode     |
// |                   | 2 WEP, 1 ad hoc; above 7 all three). WEP   |        | above 7; a stale    |
// |                   | on: the last part is the key (text of 27   |        | key with WEP off    |
// |                   | at most), the parts between the mode and   |        | (only behind an     |
// |                   | it the ESSID. WEP off: every part after    |        | ESSID when ESSID is |
// |                   | the mode is the ESSID, but a last stale    |        | on); refused: an    |
// |                   | key is left out. ESSID bit off: no ESSID   |        | ESSID bit without   |
// |                   | part                                       |        | ESSID, other parts  |
// | NWWLCNFS          | as NWCNF's four; mode decimal (0 none,     |        | tolerated: modes    |
// |                   | 1 ad hoc, 2 ESSID, other ESSID and ad      |        | above 3; refused:   |
// |                   | hoc); with an ESSID every part after the   |        | parts after modes   |
// |                   | mode is the ESSID                          |        | 0 and 1             |
// | NWDNS, NWWLDNS,   | address, address                           |        | refused: else       |
// | NWWINS, NWWLWINS  |                                            |        |                     |
// | NWDNSDMN(, WL)    | whole text                                 | to 96  |                     |
// | NWSMTPACT         | on/off                                     |        | refused: else       |
// | NWSMTPSRV,        | address                                    |        | refused: else       |
// | NWTRAPIP1, 2      |                                            |        |                     |
// | NWSMTPPORT        | decimal 0-65535                            |        | refused: else       |
// | NWSMTPTO1, 2, 3   | whole text                                 | to 64  |                     |
// | NWSMTPEVT1, 2, 3  | hex word, hex word                         |        | tolerated: bits     |
// |                   |                                            |        | outside the event   |
// |                   |                                            |        | mapping             |
// | NWCNAME           | whole text                                 | to 8   |                     |
// | NWPRIMIF          | decimal 0-65535                            |        | refused: else       |
// | NWWLSEC           | exactly six decimal digits                 |        | refused: else       |
// | NWWEPID           | decimal                                    |        | 0 or above 4: held, |
// |                   |                                            |        | not reported        |
// | NWWEP1, 2, 3, 4   | whole text of at most 255 bytes            | to 26  | longer: not         |
// |                   |                                            |        | reported            |
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

// The value without the blanks around it and without a line end behind it.
std::string_view TrimValue(std::string_view value);

// How a text value went into its field.
enum class TextTaken { kRefused, kWhole, kCut };

// A whole text value into `field`: held whole when the field holds it, else cut to the field
// (the caller marks it cut). Refused, the field untouched, for a zero byte or a value longer
// than `longest`.
template <std::size_t N>
TextTaken ReadCutText(std::string_view value, FixedText<N>& field,
                      std::size_t longest = std::string_view::npos) {
    if (value.size() > longest || value.find('\0') != std::string_view::npos) {
        return TextTaken::kRefused;
    }
    CopyText(field, value);
    return value.size() < N ? TextTaken::kWhole : TextTaken::kCut;
}

// NWMAC, NWWLMAC.
bool IsHardwareAddressValue(std::string_view value);

// NWCNF: "ON"/"OFF" sets `dhcp`, parts 2 to 4 go to ipAddress, subnetMask and gateway; parts
// beyond the fourth are ignored. "ON" alone is DHCP on with the addresses not reported
// (`addressesReported` false).
bool ReadAddressConfig(std::string_view value, ProjectorRecord& record, bool& addressesReported);

// NWWLCNF (every module type but 22): as NWCNF, then the mode (4 essidSet, 2 wepEnabled,
// 1 adhoc; above 7 all three), then the ESSID and the WEP key as the table above says. An ESSID
// or key that the mode does not carry is left as it was.
bool ReadBasicWirelessConfig(std::string_view value, ProjectorRecord& record);

// NWWLCNFS (type 22): as NWCNF, then the mode (0 no ESSID, infrastructure; 1 no ESSID, ad hoc;
// 2 ESSID, infrastructure; any other ESSID, ad hoc), then the ESSID when the mode announces one.
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
