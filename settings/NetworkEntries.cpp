#include "settings/NetworkEntries.h"

#include "platform/AsciiCase.h"
#include "platform/FixedText.h"
#include "resources/StringIds.h"
#include "settings/StateRule.h"
#include "settings/TextRules.h"

namespace lanterna {
namespace {

FocusOctet FocusOf(const AddressEntry& entry) {
    return entry.IsPartlyFilled() ? FocusOctet::kFirstBlank : FocusOctet::kFirst;
}

// An optional server entry: blank means "not set"; a partly filled one is refused.
bool OptionalServerFits(const AddressEntry& entry) {
    return !entry.IsPartlyFilled() && IsOptionalHostAddress(entry.octets) == 1;
}

EntryVerdict CheckStaticAddresses(const NetworkEntries& entries, const NetworkEntryScope& scope) {
    const AddressEntry& address = entries.ipAddress;
    const AddressEntry& mask = entries.subnetMask;
    if (address.IsBlank() || address.IsPartlyFilled() || IsHostAddress(address.octets) != 1 ||
        (scope.uniqueAmong != nullptr &&
         IsAddressUnique(*scope.uniqueAmong, address.octets, scope.skipIndex) != 1)) {
        return Refused(kStringBadIpAddress, EntryField::kIpAddress, FocusOf(address));
    }
    if (mask.IsBlank() || mask.IsPartlyFilled() || IsSubnetMask(mask.octets) != 1) {
        return Refused(kStringBadSubnetMask, EntryField::kSubnetMask, FocusOf(mask));
    }
    if (CheckAddressAgainstMask(FormatDotted(address.octets), FormatDotted(mask.octets)) !=
        kAddressFitsMask) {
        return IsAddressSet(mask.octets) == 1
                   ? Refused(kStringBadIpAddress, EntryField::kIpAddress)
                   : Refused(kStringBadSubnetMask, EntryField::kSubnetMask);
    }
    const AddressEntry& gateway = entries.gateway;  // blank: no gateway, judged as 0.0.0.0
    if (gateway.IsPartlyFilled() ||
        IsGatewayAddress(address.octets, mask.octets, gateway.octets) != 1) {
        return Refused(kStringBadGateway, EntryField::kGateway, FocusOf(gateway));
    }
    return {};
}

EntryVerdict CheckServers(const NetworkEntries& entries, const NetworkEntryScope& scope) {
    const struct {
        bool inScope;
        const AddressEntry& entry;
        int stringId;
        EntryField field;
    } servers[] = {
        {scope.dns1, entries.dns1, kStringBadDns, EntryField::kDns1},
        {scope.dns2, entries.dns2, kStringBadDns, EntryField::kDns2},
    };
    for (const auto& server : servers) {
        if (server.inScope && !OptionalServerFits(server.entry)) {
            return Refused(server.stringId, server.field, FocusOf(server.entry));
        }
    }
    if (scope.domain && IsDomainName(entries.domain) != 1) {
        return Refused(kStringBadDomainName, EntryField::kDomain);
    }
    const struct {
        bool inScope;
        const AddressEntry& entry;
        EntryField field;
    } wins[] = {
        {scope.wins1, entries.wins1, EntryField::kWins1},
        {scope.wins2, entries.wins2, EntryField::kWins2},
    };
    for (const auto& server : wins) {
        if (server.inScope && !OptionalServerFits(server.entry)) {
            return Refused(kStringBadWins, server.field, FocusOf(server.entry));
        }
    }
    return {};
}

// One address entry into its record field and state word.
void StoreAddress(const AddressEntry& entry, EntryStore how, const Octets& reference, Octets& field,
                  std::int32_t& state) {
    switch (how) {
        case EntryStore::kValues:
            field = entry.octets;
            return;
        case EntryStore::kAllChanged:
            field = entry.octets;
            state = kStateChanged;
            return;
        case EntryStore::kAgainstReference:
            field = entry.octets;
            state = entry.octets != reference ? kStateChanged : kStateUnchanged;
            return;
    }
}

// One text entry; against the reference letter case does not count, and an entry equal to it
// keeps the reference's own text.
template <std::size_t N>
void StoreText(const std::string& entry, EntryStore how, const FixedText<N>& reference,
               FixedText<N>& field, std::int32_t& state) {
    if (how != EntryStore::kAgainstReference) {
        CopyText(field, entry);
        if (how == EntryStore::kAllChanged) {
            state = kStateChanged;
        }
        return;
    }
    if (EqualIgnoringCase(entry, TextOf(reference))) {
        field = reference;
        state = UnchangedState(state);
        return;
    }
    CopyText(field, entry);
    state = kStateChanged;
}

void StoreDhcp(bool dhcp, EntryStore how, const ProjectorRecord& reference,
               ProjectorRecord& record) {
    record.dhcp = dhcp ? 1 : 0;
    if (how == EntryStore::kAllChanged) {
        record.dhcpState = kStateChanged;
    } else if (how == EntryStore::kAgainstReference) {
        record.dhcpState = dhcp == (reference.dhcp != 0) ? kStateUnchanged : kStateChanged;
    }
}

void StorePrimaryInterface(std::uint32_t value, EntryStore how, const ProjectorRecord& reference,
                           ProjectorRecord& record) {
    record.primaryInterface = value;
    if (how == EntryStore::kAllChanged) {
        record.primaryInterfaceState = kStateChanged;
    } else if (how == EntryStore::kAgainstReference) {
        record.primaryInterfaceState =
            value != reference.primaryInterface ? kStateChanged : kStateUnchanged;
    }
}

}  // namespace

AddressEntry EntryOfAddress(const Octets& address) {
    AddressEntry entry;
    entry.octets = address;
    entry.filledFields = IsZeroAddress(address) ? 0 : AddressEntry::kFieldCount;
    return entry;
}

NetworkEntryScope ScopeOf(const ProjectorRecord& record) {
    NetworkEntryScope scope;
    scope.dns1 = record.dns1State != 0;
    scope.dns2 = record.dns2State != 0;
    scope.domain = record.dnsDomainState != 0;
    scope.wins1 = record.wins1State != 0;
    scope.wins2 = record.wins2State != 0;
    scope.primaryInterface = record.primaryInterfaceState != 0;
    return scope;
}

NetworkEntries EntriesOf(const ProjectorRecord& record) {
    NetworkEntries entries;
    entries.name = std::string(TextOf(record.projectorName));
    entries.dhcp = record.dhcp != 0;
    const Octets none{};
    entries.ipAddress = EntryOfAddress(entries.dhcp ? none : record.ipAddress);
    entries.subnetMask = EntryOfAddress(entries.dhcp ? none : record.subnetMask);
    entries.gateway = EntryOfAddress(entries.dhcp ? none : record.gateway);
    entries.dns1 = EntryOfAddress(record.dns1);
    entries.dns2 = EntryOfAddress(record.dns2);
    entries.domain = std::string(TextOf(record.dnsDomain));
    entries.wins1 = EntryOfAddress(record.wins1);
    entries.wins2 = EntryOfAddress(record.wins2);
    entries.primaryInterface = record.primaryInterface != 0 ? 1 : 0;
    return entries;
}

EntryVerdict CheckNetworkEntries(const NetworkEntries& entries, const NetworkEntryScope& scope) {
    if (scope.name && (entries.name.empty() || IsProjectorName(entries.name) != 1)) {
        return Refused(kStringBadProjectorName, EntryField::kName);
    }
    if (entries.dhcp) {
        return {};
    }
    if (scope.addresses) {
        if (const EntryVerdict verdict = CheckStaticAddresses(entries, scope);
            !verdict.Accepted()) {
            return verdict;
        }
    }
    return CheckServers(entries, scope);
}

void StoreNetworkEntries(const NetworkEntries& entries, const NetworkEntryScope& scope,
                         EntryStore how, const ProjectorRecord& reference,
                         ProjectorRecord& record) {
    StoreText(entries.name, how, reference.projectorName, record.projectorName,
              record.projectorNameState);
    StoreDhcp(entries.dhcp, how, reference, record);
    if (!entries.dhcp) {
        StoreAddress(entries.ipAddress, how, reference.ipAddress, record.ipAddress,
                     record.ipAddressState);
        StoreAddress(entries.subnetMask, how, reference.subnetMask, record.subnetMask,
                     record.subnetMaskState);
        StoreAddress(entries.gateway, how, reference.gateway, record.gateway, record.gatewayState);
        if (scope.dns1) {
            StoreAddress(entries.dns1, how, reference.dns1, record.dns1, record.dns1State);
        }
        if (scope.dns2) {
            StoreAddress(entries.dns2, how, reference.dns2, record.dns2, record.dns2State);
        }
        if (scope.domain) {
            StoreText(entries.domain, how, reference.dnsDomain, record.dnsDomain,
                      record.dnsDomainState);
        }
        if (scope.wins1) {
            StoreAddress(entries.wins1, how, reference.wins1, record.wins1, record.wins1State);
        }
        if (scope.wins2) {
            StoreAddress(entries.wins2, how, reference.wins2, record.wins2, record.wins2State);
        }
    }
    if (scope.primaryInterface) {
        StorePrimaryInterface(entries.primaryInterface, how, reference, record);
    }
}

}  // namespace lanterna
