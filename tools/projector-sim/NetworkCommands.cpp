// Commands of the network interfaces: address configuration (NWCNF, NWWLCNF, NWWLCNFS),
// interface and hardware address, DNS, WINS and DNS domain of the wired and wireless members.

#include <array>
#include <cstdio>

#include "tools/projector-sim/CommandTable.h"
#include "tools/projector-sim/ValueRules.h"

namespace lanterna::sim {

namespace {

using InterfaceMember = InterfaceSettings ProjectorSettings::*;

// "ON"/"OFF" and the three addresses, as NWCNF and the first four parts of the wireless
// commands carry them.
std::string AddressConfigText(const InterfaceSettings& settings) {
    return JoinParts({settings.dhcp ? "ON" : "OFF", FormatDotted(settings.ipAddress),
                      FormatDotted(settings.subnetMask), FormatDotted(settings.gateway)});
}

struct AddressConfig {
    bool dhcp = false;
    Octets ipAddress{};
    Octets subnetMask{};
    Octets gateway{};
};

// Reads the first four parts; false when there are fewer or one of them is malformed.
bool ParseAddressConfig(const std::vector<std::string_view>& parts, AddressConfig& config) {
    if (parts.size() < 4) {
        return false;
    }
    const auto dhcp = ParseOnOff(parts[0]);
    const auto ip = ParseDottedStrict(parts[1]);
    const auto mask = ParseDottedStrict(parts[2]);
    const auto gateway = ParseDottedStrict(parts[3]);
    if (!dhcp || !ip || !mask || !gateway) {
        return false;
    }
    config = {*dhcp, *ip, *mask, *gateway};
    return true;
}

void StoreAddressConfig(const AddressConfig& config, InterfaceSettings& target) {
    target.dhcp = config.dhcp;
    target.ipAddress = config.ipAddress;
    target.subnetMask = config.subnetMask;
    target.gateway = config.gateway;
}

bool SetWiredConfig(ProjectorSettings& settings, std::string_view argument) {
    const auto parts = SplitParts(argument);
    AddressConfig config;
    if (parts.size() != 4 || !ParseAddressConfig(parts, config)) {
        return false;
    }
    StoreAddressConfig(config, settings.wired);
    return true;
}

// NWWLCNF: the mode's ESSID bit (4) asks for an ESSID part, its WEP bit (2) for a key part
// behind it; the ad-hoc bit (1) takes no part.
bool SetBasicWirelessConfig(ProjectorSettings& settings, std::string_view argument) {
    const auto parts = SplitParts(argument);
    AddressConfig config;
    if (parts.size() < 5 || !ParseAddressConfig(parts, config)) {
        return false;
    }
    const auto mode = ParseDecimal(parts[4], 7);
    if (!mode) {
        return false;
    }
    const bool hasEssid = (*mode & 4) != 0;
    const bool hasKey = (*mode & 2) != 0;
    if (parts.size() != 5 + (hasEssid ? 1U : 0U) + (hasKey ? 1U : 0U)) {
        return false;
    }
    std::size_t next = 5;
    const std::string_view essid = hasEssid ? parts[next++] : std::string_view();
    const std::string_view key = hasKey ? parts[next++] : std::string_view();
    if (!IsEssidText(essid) || (hasKey && !IsWireWepKey(key))) {
        return false;
    }
    StoreAddressConfig(config, settings.wirelessLan);
    settings.basicWirelessMode = static_cast<int>(*mode);
    settings.essid = std::string(essid);
    settings.wepKey = std::string(key);
    return true;
}

std::string BasicWirelessConfigText(const ProjectorSettings& settings) {
    const int mode = settings.basicWirelessMode;
    const std::string modeText = std::to_string(mode);
    return JoinParts({AddressConfigText(settings.wirelessLan), modeText,
                      (mode & 4) != 0 ? std::string_view(settings.essid) : std::string_view(),
                      (mode & 2) != 0 ? std::string_view(settings.wepKey) : std::string_view()});
}

// NWWLCNFS: a two-digit mode 00 to 03; modes 02 and 03 carry the ESSID, which is everything
// after the mode (an ESSID may hold spaces).
bool SetExtendedWirelessConfig(ProjectorSettings& settings, std::string_view argument) {
    const auto parts = SplitParts(argument);
    AddressConfig config;
    if (parts.size() < 5 || !ParseAddressConfig(parts, config) || parts[4].size() != 2) {
        return false;
    }
    const auto mode = ParseDecimal(parts[4], 3);
    if (!mode) {
        return false;
    }
    const bool hasEssid = (*mode & 2) != 0;
    const std::string_view essid =
        parts.size() > 5
            ? argument.substr(static_cast<std::size_t>(parts[5].data() - argument.data()))
            : std::string_view();
    const std::string_view trimmed = essid.substr(0, essid.find_last_not_of(' ') + 1);
    if ((hasEssid ? trimmed.empty() : parts.size() != 5) || !IsEssidText(trimmed)) {
        return false;
    }
    StoreAddressConfig(config, settings.wirelessLan);
    settings.extendedWirelessMode = static_cast<int>(*mode);
    settings.essid = std::string(trimmed);
    return true;
}

std::string ExtendedWirelessConfigText(const ProjectorSettings& settings) {
    std::array<char, 8> mode{};
    std::snprintf(mode.data(), mode.size(), "%02d", settings.extendedWirelessMode);
    const bool hasEssid = (settings.extendedWirelessMode & 2) != 0;
    return JoinParts({AddressConfigText(settings.wirelessLan), mode.data(),
                      hasEssid ? std::string_view(settings.essid) : std::string_view()});
}

// Two addresses (DNS or WINS servers) of one interface.
using AddressPair = std::pair<Octets InterfaceSettings::*, Octets InterfaceSettings::*>;

CommandDefinition AddressPairCommand(std::string name, InterfaceMember member, AddressPair pair) {
    CommandDefinition definition;
    definition.name = std::move(name);
    definition.query = [member, pair](const ProjectorSettings& settings) {
        const InterfaceSettings& target = settings.*member;
        return JoinParts({FormatDotted(target.*pair.first), FormatDotted(target.*pair.second)});
    };
    definition.set = [member, pair](ProjectorSettings& settings, std::string_view argument) {
        const auto parts = SplitParts(argument);
        if (parts.size() != 2) {
            return false;
        }
        const auto first = ParseDottedStrict(parts[0]);
        const auto second = ParseDottedStrict(parts[1]);
        if (!first || !second) {
            return false;
        }
        (settings.*member).*pair.first = *first;
        (settings.*member).*pair.second = *second;
        return true;
    };
    return definition;
}

CommandDefinition DomainCommand(std::string name, InterfaceMember member) {
    CommandDefinition definition;
    definition.name = std::move(name);
    definition.query = [member](const ProjectorSettings& settings) {
        return (settings.*member).dnsDomain;
    };
    definition.set = [member](ProjectorSettings& settings, std::string_view argument) {
        if (!IsDomainText(argument)) {
            return false;
        }
        (settings.*member).dnsDomain = std::string(argument);
        return true;
    };
    return definition;
}

CommandDefinition HardwareAddressCommand(std::string name) {
    CommandDefinition definition;
    definition.name = std::move(name);
    definition.query = [](const ProjectorSettings& settings) { return settings.mac; };
    return definition;
}

}  // namespace

void AddNetworkCommands(std::vector<CommandDefinition>& table) {
    table.push_back({"NWCNF", Availability::kAllModules,
                     [](const ProjectorSettings& s) { return AddressConfigText(s.wired); },
                     SetWiredConfig});
    table.push_back(
        {"NWWLCNF", Availability::kBasicOnly, BasicWirelessConfigText, SetBasicWirelessConfig});
    table.push_back({"NWWLCNFS", Availability::kExtendedOnly, ExtendedWirelessConfigText,
                     SetExtendedWirelessConfig});
    table.push_back({"NWIF", Availability::kAllModules,
                     [](const ProjectorSettings& s) { return std::string(s.wireless ? "1" : "0"); },
                     nullptr});
    table.push_back(HardwareAddressCommand("NWMAC"));
    table.push_back(HardwareAddressCommand("NWWLMAC"));

    const AddressPair dns{&InterfaceSettings::dns1, &InterfaceSettings::dns2};
    const AddressPair wins{&InterfaceSettings::wins1, &InterfaceSettings::wins2};
    table.push_back(AddressPairCommand("NWDNS", &ProjectorSettings::wired, dns));
    table.push_back(AddressPairCommand("NWWLDNS", &ProjectorSettings::wirelessLan, dns));
    table.push_back(AddressPairCommand("NWWINS", &ProjectorSettings::wired, wins));
    table.push_back(AddressPairCommand("NWWLWINS", &ProjectorSettings::wirelessLan, wins));
    table.push_back(DomainCommand("NWDNSDMN", &ProjectorSettings::wired));
    table.push_back(DomainCommand("NWWLDNSDMN", &ProjectorSettings::wirelessLan));
}

}  // namespace lanterna::sim
