#include "link/NetworkValues.h"

#include <cstdio>
#include <limits>

#include "record/DottedAddress.h"
#include "settings/ValidationRules.h"

namespace lanterna {

namespace {

// Address parts are held in 64-byte texts before they are parsed.
constexpr std::size_t kAddressPartLimit = 63;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A missing part is the empty text (with a valid pointer: it may be copied).
std::string_view PartAt(const std::vector<std::string_view>& parts, std::size_t index) {
    return index < parts.size() ? parts[index] : std::string_view("");
}

// The first four parts: on/off and, with DHCP off, the three addresses.
void ReadAddressParts(const std::vector<std::string_view>& parts, ProjectorRecord& record) {
    record.dhcp = ReadOnPrefix(PartAt(parts, 0));
    if (record.dhcp != 0) {
        return;
    }
    ReadDottedPart(PartAt(parts, 1), record.ipAddress);
    ReadDottedPart(PartAt(parts, 2), record.subnetMask);
    ReadDottedPart(PartAt(parts, 3), record.gateway);
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

std::int32_t ReadOnPrefix(std::string_view value) {
    return value.substr(0, 2) == "ON" ? 1 : 0;
}

std::int32_t ReadDecimal(std::string_view value) {
    std::size_t position = 0;
    while (position < value.size() && IsBlank(value[position])) {
        ++position;
    }
    bool negative = false;
    if (position < value.size() && (value[position] == '+' || value[position] == '-')) {
        negative = value[position] == '-';
        ++position;
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t number = 0;
    for (; position < value.size() && value[position] >= '0' && value[position] <= '9';
         ++position) {
        number = std::min<std::int64_t>(number * 10 + (value[position] - '0'), kLimit);
    }
    if (negative) {
        return static_cast<std::int32_t>(-number);
    }
    return static_cast<std::int32_t>(std::min<std::int64_t>(number, kLimit - 1));
}

void ReadDottedPart(std::string_view part, Octets& octets) {
    ScanDottedInto(part.substr(0, kAddressPartLimit), octets);
}

void ReadAddressConfig(std::string_view value, ProjectorRecord& record) {
    ReadAddressParts(SplitValueParts(value), record);
}

void ReadBasicWirelessConfig(std::string_view value, ProjectorRecord& record) {
    const auto parts = SplitValueParts(value);
    ReadAddressParts(parts, record);
    const std::int32_t mode = ReadDecimal(PartAt(parts, 4));
    const bool outOfRange = mode < 0 || mode > 7;
    record.essidSet = (outOfRange || (mode & 4) != 0) ? 1 : 0;
    record.wepEnabled = (outOfRange || (mode & 2) != 0) ? 1 : 0;
    record.adhoc = (outOfRange || (mode & 1) != 0) ? 1 : 0;
    // WEP without ESSID: the key comes where the ESSID would be.
    if (mode == 2 || mode == 3) {
        CopyText(record.wepKey, PartAt(parts, 5));
        return;
    }
    CopyText(record.essid, PartAt(parts, 5));
    CopyText(record.wepKey, PartAt(parts, 6));
}

void ReadExtendedWirelessConfig(std::string_view value, ProjectorRecord& record) {
    const auto parts = SplitValueParts(value);
    ReadAddressParts(parts, record);
    const std::int32_t mode = ReadDecimal(PartAt(parts, 4));
    record.essidSet = (mode == 0 || mode == 1) ? 0 : 1;
    record.adhoc = (mode == 0 || mode == 2) ? 0 : 1;
    if (record.essidSet != 0) {
        CopyText(record.essid, PartAt(parts, 5));
    }
}

void ReadAddressPair(std::string_view value, Octets& first, Octets& second) {
    const auto parts = SplitValueParts(value);
    ReadDottedPart(PartAt(parts, 0), first);
    ReadDottedPart(PartAt(parts, 1), second);
}

std::array<std::int32_t, 4> ReadSecurityCode(std::string_view value) {
    const auto piece = [value](std::size_t start, std::size_t length) {
        return start < value.size() ? ReadDecimal(value.substr(start, length)) : 0;
    };
    return {piece(0, 1), piece(1, 1), piece(2, 2), piece(4, 2)};
}

std::string_view ReadWepKeyValue(std::string_view value) {
    return value.size() >= kWepKeyValueLimit ? std::string_view("") : value;
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
