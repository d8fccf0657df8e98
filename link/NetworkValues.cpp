#include "link/NetworkValues.h"

#include <cstdio>

#include "record/DottedAddress.h"
#include "settings/ByteClasses.h"
#include "settings/EventCode.h"
#include "settings/ValidationRules.h"

namespace lanterna {

namespace {

// Longest decimal part read; more digits are no number of this command language.
constexpr std::size_t kDecimalDigitLimit = 10;

// What surrounds a value without being part of it.
constexpr std::string_view kBlanks = " \t";

// A missing part is the empty text.
std::string_view PartAt(const std::vector<std::string_view>& parts, std::size_t index) {
    return index < parts.size() ? parts[index] : std::string_view();
}

struct AddressParts {
    std::int32_t dhcp = 0;
    Octets ipAddress{};
    Octets subnetMask{};
    Octets gateway{};
};

// The first four parts of every address configuration: on/off and three addresses.
bool ReadAddressParts(const std::vector<std::string_view>& parts, AddressParts& read) {
    return parts.size() >= 4 && ReadOnOff(parts[0], read.dhcp) &&
           ReadDottedAddress(parts[1], read.ipAddress) &&
           ReadDottedAddress(parts[2], read.subnetMask) && ReadDottedAddress(parts[3], read.gateway);
}

// The addresses are kept as reported, with DHCP on too: they are what the projector uses now.
void StoreAddressParts(const AddressParts& read, ProjectorRecord& record) {
    record.dhcp = read.dhcp;
    record.ipAddress = read.ipAddress;
    record.subnetMask = read.subnetMask;
    record.gateway = read.gateway;
}

// A wireless mode is any decimal; the bits above the ones the commands define say nothing more.
constexpr std::uint32_t kAnyMode = 0xFFFFFFFFU;

// A key left behind by a projector whose WEP is off: 10 or 26 hexadecimal digits.
bool IsStaleKey(std::string_view part) {
    return (part.size() == 10 || part.size() == 26) && AllBytes(part, IsHexDigit);
}

// Parts `first` to `last` (exclusive) as the one text they are in the value, inner spaces kept:
// an ESSID may hold spaces.
std::string_view JoinedParts(std::string_view value, const std::vector<std::string_view>& parts,
                             std::size_t first, std::size_t last) {
    if (first >= last) {
        return {};
    }
    const auto begin = static_cast<std::size_t>(parts[first].data() - value.data());
    const auto end =
        static_cast<std::size_t>(parts[last - 1].data() - value.data()) + parts[last - 1].size();
    return value.substr(begin, end - begin);
}

// An ESSID as a projector reports it: at most 35 bytes of 0x20 to 0x7E, no ':'.
bool IsEssidValue(std::string_view essid) {
    return essid.size() <= 35 &&
           AllBytes(essid, [](char c) { return c == ' ' || IsPrintableNoColon(c); });
}

bool IsHexWord(std::string_view part) {
    return !part.empty() && part.size() <= 4 && AllBytes(part, IsHexDigit);
}

std::string FormatNumber(const char* pattern, std::int32_t value) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), pattern, value);
    return text.data();
}

}  // namespace

std::vector<std::string_view> SplitValueParts(std::string_view value) {
    std::vector<std::string_view> parts;
    std::size_t position = 0;
    while (position < value.size()) {
        const std::size_t start = value.find_first_not_of(' ', position);
        if (start == std::string_view::npos) {
            break;
        }
        std::size_t end = value.find(' ', start);
        if (end == std::string_view::npos) {
            end = value.size();
        }
        parts.push_back(value.substr(start, end - start));
        position = end;
    }
    return parts;
}

bool ReadOnOff(std::string_view part, std::int32_t& on) {
    if (part != "ON" && part != "OFF") {
        return false;
    }
    on = part == "ON" ? 1 : 0;
    return true;
}

bool ReadDecimal(std::string_view part, std::uint32_t minimum, std::uint32_t maximum,
                 std::uint32_t& number) {
    if (part.empty() || part.size() > kDecimalDigitLimit || !AllBytes(part, IsAsciiDigit)) {
        return false;
    }
    std::uint64_t value = 0;
    for (const char digit : part) {
        value = value * 10 + static_cast<std::uint64_t>(digit - '0');
    }
    if (value < minimum || value > maximum) {
        return false;
    }
    number = static_cast<std::uint32_t>(value);
    return true;
}

bool ReadDottedAddress(std::string_view part, Octets& octets) {
    Octets read{};
    std::size_t start = 0;
    for (std::size_t index = 0; index < read.size(); ++index) {
        const std::size_t point = index + 1 < read.size() ? part.find('.', start) : part.size();
        if (point == std::string_view::npos || point - start > 3) {
            return false;
        }
        std::uint32_t octet = 0;
        if (!ReadDecimal(part.substr(start, point - start), 0, 255, octet)) {
            return false;
        }
        read[index] = static_cast<std::uint8_t>(octet);
        start = point + 1;
    }
    octets = read;
    return true;
}

bool IsValueText(std::string_view text, std::size_t limit) {
    return text.size() <= limit && text.find('\0') == std::string_view::npos;
}

std::string_view TrimValue(std::string_view value) {
    while (!value.empty() && (value.back() == '\r' || value.back() == '\n')) {
        value.remove_suffix(1);
    }
    const std::size_t first = value.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return value.substr(first, value.find_last_not_of(kBlanks) - first + 1);
}

bool IsHardwareAddressValue(std::string_view value) {
    return value.size() == 12 && AllBytes(value, IsHexDigit);
}

bool ReadAddressConfig(std::string_view value, ProjectorRecord& record, bool& addressesReported) {
    const auto parts = SplitValueParts(value);
    if (parts.size() == 1 && parts[0] == "ON") {
        record.dhcp = 1;
        addressesReported = false;
        return true;
    }
    AddressParts read;
    if (!ReadAddressParts(parts, read)) {
        return false;
    }
    StoreAddressParts(read, record);
    addressesReported = true;
    return true;
}

bool ReadBasicWirelessConfig(std::string_view value, ProjectorRecord& record) {
    const auto parts = SplitValueParts(value);
    AddressParts read;
    std::uint32_t mode = 0;
    if (!ReadAddressParts(parts, read) || !ReadDecimal(PartAt(parts, 4), 0, kAnyMode, mode)) {
        return false;
    }
    mode = mode > 7 ? 7 : mode;
    const bool essidSet = (mode & 4) != 0;
    const bool wepEnabled = (mode & 2) != 0;
    std::size_t last = parts.size();
    std::string_view key;
    if (wepEnabled) {
        // The key never holds a space: it is the last part, whatever the ESSID holds.
        if (last == 5) {
            return false;
        }
        key = parts[--last];
    } else if (last > (essidSet ? 6U : 5U) && IsStaleKey(parts[last - 1])) {
        --last;
    }
    const std::string_view essid = JoinedParts(value, parts, 5, last);
    if ((essidSet ? essid.empty() : last != 5) || !IsEssidValue(essid) ||
        !IsValueText(key, record.wepKey.size() - 1)) {
        return false;
    }
    StoreAddressParts(read, record);
    record.essidSet = essidSet ? 1 : 0;
    record.wepEnabled = wepEnabled ? 1 : 0;
    record.adhoc = (mode & 1) != 0 ? 1 : 0;
    if (essidSet) {
        CopyText(record.essid, essid);
    }
    if (wepEnabled) {
        CopyText(record.wepKey, key);
    }
    return true;
}

bool ReadExtendedWirelessConfig(std::string_view value, ProjectorRecord& record) {
    const auto parts = SplitValueParts(value);
    AddressParts read;
    std::uint32_t mode = 0;
    if (!ReadAddressParts(parts, read) || !ReadDecimal(PartAt(parts, 4), 0, kAnyMode, mode)) {
        return false;
    }
    const bool essidSet = mode >= 2;
    const std::string_view essid = JoinedParts(value, parts, 5, parts.size());
    if ((essidSet ? essid.empty() : parts.size() != 5) || !IsEssidValue(essid)) {
        return false;
    }
    StoreAddressParts(read, record);
    record.essidSet = essidSet ? 1 : 0;
    record.adhoc = mode == 1 || mode >= 3 ? 1 : 0;
    if (essidSet) {
        CopyText(record.essid, essid);
    }
    return true;
}

bool ReadAddressPair(std::string_view value, Octets& first, Octets& second) {
    const auto parts = SplitValueParts(value);
    Octets one{};
    Octets two{};
    if (parts.size() != 2 || !ReadDottedAddress(parts[0], one) ||
        !ReadDottedAddress(parts[1], two)) {
        return false;
    }
    first = one;
    second = two;
    return true;
}

bool ReadEventSet(std::string_view value, std::uint32_t& eventSet) {
    const auto parts = SplitValueParts(value);
    if (parts.size() != 2 || !IsHexWord(parts[0]) || !IsHexWord(parts[1])) {
        return false;
    }
    eventSet = EventSetFromCode(value);
    return true;
}

bool ReadSecurityCode(std::string_view value, std::array<std::int32_t, 4>& security) {
    if (value.size() != 6 || !AllBytes(value, IsAsciiDigit)) {
        return false;
    }
    const auto digits = [value](std::size_t start, std::size_t length) {
        std::int32_t number = 0;
        for (const char digit : value.substr(start, length)) {
            number = number * 10 + (digit - '0');
        }
        return number;
    };
    security = {digits(0, 1), digits(1, 1), digits(2, 2), digits(4, 2)};
    return true;
}

std::string_view OnOffArgument(std::int32_t on) {
    return on != 0 ? "ON" : "OFF";
}

std::string AddressConfigArgument(const ProjectorRecord& record) {
    std::string argument(OnOffArgument(record.dhcp));
    if (record.dhcp != 0) {
        for (int i = 0; i < 3; ++i) {
            argument.append(" ").append(kAllZeroAddress);
        }
        return argument;
    }
    for (const Octets* address : {&record.ipAddress, &record.subnetMask, &record.gateway}) {
        argument.append(" ").append(FormatDotted(*address));
    }
    return argument;
}

bool BasicWirelessConfigArgument(const ProjectorRecord& record, std::string& argument) {
    const bool essidSet = record.essidSet != 0;
    const bool wepEnabled = record.wepEnabled != 0;
    const int mode = (essidSet ? 4 : 0) + (wepEnabled ? 2 : 0) + (record.adhoc != 0 ? 1 : 0);
    std::string essid;
    std::string key;
    if (mode > 1) {
        if (essidSet) {
            essid = TextOf(record.essid);
        }
        if (wepEnabled && WepKeyToHex(TextOf(record.wepKey), key) != 1) {
            return false;
        }
    }
    argument = AddressConfigArgument(record) + " " + std::to_string(mode) + " " + essid + " " + key;
    return true;
}

std::string ExtendedWirelessConfigArgument(const ProjectorRecord& record) {
    const bool essidSet = record.essidSet != 0;
    const int mode = (essidSet ? 2 : 0) + (record.adhoc != 0 ? 1 : 0);
    std::string argument = AddressConfigArgument(record) + " " + FormatNumber("%02d", mode);
    if (essidSet) {
        argument.append(" ").append(TextOf(record.essid));
    }
    return argument;
}

std::string AddressPairArgument(const Octets& first, const Octets& second) {
    return FormatDotted(first) + " " + FormatDotted(second);
}

std::string SecurityCodeArgument(const std::array<std::int32_t, 4>& security) {
    std::array<char, 64> code{};
    std::snprintf(code.data(), code.size(), "%d%d%02d%02d", security[0], security[1], security[2],
                  security[3]);
    return code.data();
}

bool WepKeyArgument(std::string_view key, std::string& argument) {
    argument.clear();
    if (key.empty()) {
        argument = "INIT";
        return true;
    }
    return WepKeyToHex(key, argument) == 1;
}

}  // namespace lanterna
