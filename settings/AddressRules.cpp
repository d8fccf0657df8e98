#include "settings/AddressRules.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "record/ProjectorList.h"
#include "settings/ByteClasses.h"

namespace lanterna {

namespace {

constexpr int kOctetMax = 255;
// An octet that has passed 255 stays out of range whatever digits follow; holding it here keeps
// the arithmetic finite for texts with any number of digits.
constexpr int kOctetOverflow = kOctetMax + 1;

constexpr std::uint8_t kFirstMulticastOctet = 224;
constexpr std::uint8_t kLoopbackOctet = 127;
constexpr std::uint32_t kAllOnes = 0xFFFFFFFFu;

int AddDigit(int octet, char digit) {
    return std::min(octet * 10 + (digit - '0'), kOctetOverflow);
}

// The host test of mode 0 on the first octet.
int ClassifyHostStart(int firstOctet) {
    if (firstOctet >= kFirstMulticastOctet) {
        return kAddressTextNotUnicast;
    }
    if (firstOctet == kLoopbackOctet) {
        return kAddressTextLoopback;
    }
    return kAddressTextValid;
}

int ClassifyMaskStart(const std::array<int, 4>& octets) {
    const bool allOnes =
        std::all_of(octets.begin(), octets.end(), [](int o) { return o == kOctetMax; });
    if (allOnes) {
        return kAddressTextAllOnesMask;
    }
    if (octets[0] != 0 && octets[0] != kOctetMax) {
        return kAddressTextBadMaskStart;
    }
    return kAddressTextValid;
}

std::array<int, 4> ToInts(const Octets& octets) {
    return {octets[0], octets[1], octets[2], octets[3]};
}

std::uint32_t ReadDottedValue(std::string_view text) {
    Octets octets{};
    ScanDottedInto(text, octets);
    return ToHostOrder(octets);
}

bool IsMaskTailOctet(std::uint8_t octet) {
    switch (octet) {
        case 254:
        case 252:
        case 248:
        case 240:
        case 224:
        case 192:
        case 128:
        case 0:
            return true;
        default:
            return false;
    }
}

}  // namespace

int ClassifyAddressText(std::string_view text, AddressTextMode mode) {
    std::array<int, 4> octets{};
    std::size_t index = 0;
    bool digitExpected = true;
    for (const char c : text) {
        if (IsAsciiDigit(c)) {
            octets[index] = AddDigit(octets[index], c);
            digitExpected = false;
        } else if (digitExpected) {
            return kAddressTextDigitExpected;
        } else if (c == '.') {
            if (index == octets.size() - 1) {
                return kAddressTextTooManyOctets;
            }
            ++index;
            digitExpected = true;
        } else {
            return kAddressTextBadCharacter;
        }
    }
    if (std::any_of(octets.begin(), octets.end(), [](int o) { return o > kOctetMax; })) {
        return kAddressTextOctetRange;
    }
    switch (mode) {
        case AddressTextMode::kHost:
            return ClassifyHostStart(octets[0]);
        case AddressTextMode::kMask:
            return ClassifyMaskStart(octets);
        case AddressTextMode::kSyntax:
            break;
    }
    return kAddressTextValid;
}

// The octet rules below give the same verdicts as ClassifyAddressText on the dotted text of the
// octets (which is always well formed and in range), without building the text.

int IsHostAddress(const Octets& address) {
    return IsAddressSet(address) != 0 && ClassifyHostStart(address[0]) == kAddressTextValid;
}

int IsOptionalHostAddress(const Octets& address) {
    return ClassifyHostStart(address[0]) == kAddressTextValid;
}

int CheckTrapAddress(const Octets& address) {
    if (IsAddressSet(address) == 0) {
        return kTrapAddressNotSet;
    }
    return ClassifyHostStart(address[0]) == kAddressTextValid ? kTrapAddressValid
                                                              : kTrapAddressInvalid;
}

int IsSubnetMask(const Octets& mask) {
    if (ClassifyMaskStart(ToInts(mask)) != kAddressTextValid) {
        return 0;
    }
    bool onesEnded = false;
    for (const std::uint8_t octet : mask) {
        if (onesEnded) {
            if (octet != 0) {
                return 0;
            }
        } else if (octet != kOctetMax) {
            if (!IsMaskTailOctet(octet)) {
                return 0;
            }
            onesEnded = true;
        }
    }
    return 1;
}

int CheckAddressAgainstMask(std::string_view addressText, std::string_view maskText) {
    const std::uint32_t address = ReadDottedValue(addressText);
    const std::uint32_t mask = ReadDottedValue(maskText);
    if ((address & mask) == 0) {
        return kAddressNetworkZero;
    }
    if ((address & ~mask) == 0) {
        return kAddressIsNetwork;
    }
    if ((address | mask) == kAllOnes) {
        return kAddressIsBroadcast;
    }
    return kAddressFitsMask;
}

int IsGatewayAddress(const Octets& address, const Octets& mask, const Octets& gateway) {
    if (IsAddressSet(gateway) == 0) {
        return 1;
    }
    const std::uint32_t a = ToHostOrder(address);
    const std::uint32_t m = ToHostOrder(mask);
    const std::uint32_t g = ToHostOrder(gateway);
    const bool sameSubnet = (a & m) == (g & m);
    const bool isNetwork = (g & ~m) == 0;
    const bool isBroadcast = (g | m) == kAllOnes;
    return sameSubnet && !isNetwork && !isBroadcast && g != a;
}

int IsAddressUnique(const ProjectorList& projectors, const Octets& address,
                    std::ptrdiff_t skipIndex) {
    bool unique = true;
    projectors.ForEach([&](std::size_t index, const ProjectorRecord& record) {
        if (static_cast<std::ptrdiff_t>(index) != skipIndex && record.ipAddress == address) {
            unique = false;
        }
    });
    return unique;
}

int IsAddressSet(const Octets& address) {
    return !IsZeroAddress(address);
}

}  // namespace lanterna
