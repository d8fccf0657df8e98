#pragma once
// Validation rules for IPv4 addresses and subnet masks. Pure functions: they give a verdict and
// never show a message or change a record; the caller picks the message and the focus.

#include <cstddef>
#include <string_view>

#include "record/DottedAddress.h"

namespace lanterna {

class ProjectorList;

// What ClassifyAddressText checks beyond the syntax.
enum class AddressTextMode : int {
    kHost = 0,    // an address a host may use
    kMask = 1,    // a subnet mask (first test only; IsSubnetMask does the rest)
    kSyntax = 2,  // syntax and octet range only
};

// Class codes of ClassifyAddressText; 0 is the only acceptable one.
enum AddressTextClass : int {
    kAddressTextValid = 0,
    kAddressTextDigitExpected = 1,  // text start or a '.' not followed by a digit
    kAddressTextOctetRange = 2,     // an octet outside 0..255
    kAddressTextTooManyOctets = 3,  // a fourth '.'
    kAddressTextBadCharacter = 4,   // neither digit nor '.' after a digit
    kAddressTextNotUnicast = 7,     // host: first octet above 223
    kAddressTextLoopback = 8,       // host: first octet 127
    kAddressTextAllOnesMask = 9,    // mask: 255.255.255.255
    kAddressTextBadMaskStart = 10,  // mask: first octet neither 0 nor 255
};

// Results of CheckAddressAgainstMask.
enum AddressMaskCheck : int {
    kAddressFitsMask = 0,
    kAddressNetworkZero = 0x600,  // the network part is zero
    kAddressIsNetwork = 0x601,    // the host part is zero: the subnet's own address
    kAddressIsBroadcast = 0x602,  // the host part is all ones: the subnet's broadcast
};

// Results of CheckTrapAddress.
enum TrapAddressCheck : int {
    kTrapAddressInvalid = -1,
    kTrapAddressNotSet = 0,
    kTrapAddressValid = 1,
};

// Index to pass to IsAddressUnique when no entry is to be skipped.
inline constexpr std::ptrdiff_t kSkipNone = -1;

// Classifies a dotted address text (class codes above). Octets are decimal with any number of
// digits; missing octets count as 0, so "10.1" and "" are well formed. An octet too large for a
// 32-bit integer is out of range (2), never wrapped round. A mode value outside the enumeration
// gets the syntax checks only.
int ClassifyAddressText(std::string_view text, AddressTextMode mode);

// 1 when the address is not 0.0.0.0, not 127.x.x.x and its first octet is at most 223.
int IsHostAddress(const Octets& address);

// Like IsHostAddress, but 0.0.0.0 (not set) is accepted.
int IsOptionalHostAddress(const Octets& address);

// kTrapAddressNotSet for 0.0.0.0, kTrapAddressValid for a host address, else
// kTrapAddressInvalid.
int CheckTrapAddress(const Octets& address);

// 1 for 0.0.0.0 and the contiguous masks 255.0.0.0 to 255.255.255.254.
int IsSubnetMask(const Octets& mask);

// Reads both dotted texts like sscanf "%d.%d.%d.%d" (numbers not read count as 0, each number
// taken by its low 8 bits) and checks the address against the mask (AddressMaskCheck).
int CheckAddressAgainstMask(std::string_view addressText, std::string_view maskText);

// 1 when `gateway` is 0.0.0.0 (no gateway) or a host of the subnet of `address` and `mask` that
// is neither the subnet's own address, its broadcast address nor `address` itself.
int IsGatewayAddress(const Octets& address, const Octets& mask, const Octets& gateway);

// 1 when no entry of `projectors` other than the one at `skipIndex` (kSkipNone for none) has
// `address` as its ipAddress. Takes the list's lock while it looks.
int IsAddressUnique(const ProjectorList& projectors, const Octets& address,
                    std::ptrdiff_t skipIndex);

// 1 when any octet is nonzero.
int IsAddressSet(const Octets& address);

}  // namespace lanterna
