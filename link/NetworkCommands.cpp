#include "link/NetworkCommands.h"

#include <array>

#include "link/NetworkValues.h"
#include "record/RecordSlots.h"
#include "settings/EventCode.h"

namespace lanterna {

namespace {

// 1-based number to the 0-based index of a command array, clamped.
constexpr std::size_t Slot(int number, std::size_t count) {
    return number >= 1 && static_cast<std::size_t>(number) <= count
               ? static_cast<std::size_t>(number - 1)
               : 0;
}

const NetworkCommand& Pick(LinkInterface which, const NetworkCommand& wired,
                           const NetworkCommand& wireless) {
    return which == LinkInterface::kWireless ? wireless : wired;
}

// Runs `read` on the value when the query succeeded.
template <typename Read>
int QueryWith(CProjectorLink& link, const NetworkCommand& command, Read read) {
    std::string value;
    if (QueryText(link, command, value) != 1) {
        return 0;
    }
    read(std::string_view(value));
    return 1;
}

template <std::size_t N>
int QueryIntoText(CProjectorLink& link, const NetworkCommand& command, FixedText<N>& field) {
    return QueryWith(link, command, [&field](std::string_view value) { CopyText(field, value); });
}

int QueryIntoAddress(CProjectorLink& link, const NetworkCommand& command, Octets& octets) {
    return QueryWith(link, command,
                     [&octets](std::string_view value) { ReadDottedPart(value, octets); });
}

std::string Decimal(std::int32_t value) {
    return std::to_string(value);
}

}  // namespace

int QueryText(CProjectorLink& link, const NetworkCommand& command, std::string& value) {
    std::array<char, kLargestValueSize + 1> buffer{};
    const std::size_t size = std::min(command.valueSize, kLargestValueSize);
    if (link.Exchange(command.name, std::string_view(), buffer.data(), size, true, command.trim) !=
        1) {
        return 0;
    }
    value.assign(buffer.data());
    return 1;
}

int SetText(CProjectorLink& link, const NetworkCommand& command, std::string_view argument) {
    // A line break would end the command early and turn the rest into a command of its own.
    if (argument.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
        return kSetNotSent;
    }
    return link.Exchange(command.name, argument, nullptr, 0, false, command.trim);
}

// ---- queries ----------------------------------------------------------------------------------

int QueryProjectorName(CProjectorLink& link, ProjectorRecord& record) {
    return QueryIntoText(link, commands::kProjectorName, record.projectorName);
}

int QueryWiredConfig(CProjectorLink& link, ProjectorRecord& record) {
    return QueryWith(link, commands::kWiredConfig,
                     [&record](std::string_view value) { ReadAddressConfig(value, record); });
}

int QueryWirelessConfig(CProjectorLink& link, ProjectorRecord& record) {
    return QueryWith(link, commands::kWirelessConfig,
                     [&record](std::string_view value) { ReadBasicWirelessConfig(value, record); });
}

int QueryExtendedWirelessConfig(CProjectorLink& link, ProjectorRecord& record) {
    return QueryWith(link, commands::kExtendedWirelessConfig, [&record](std::string_view value) {
        ReadExtendedWirelessConfig(value, record);
    });
}

int QueryInterface(CProjectorLink& link, std::int32_t& interfaceValue) {
    return QueryWith(link, commands::kInterface, [&interfaceValue](std::string_view value) {
        interfaceValue = ReadDecimal(value);
    });
}

int QueryMacAddress(CProjectorLink& link, LinkInterface which, std::string& macAddress) {
    return QueryText(link, Pick(which, commands::kWiredMac, commands::kWirelessMac), macAddress);
}

int QueryDnsDomain(CProjectorLink& link, LinkInterface which, ProjectorRecord& record) {
    return QueryIntoText(link, Pick(which, commands::kWiredDomain, commands::kWirelessDomain),
                         record.dnsDomain);
}

int QueryDnsServers(CProjectorLink& link, LinkInterface which, ProjectorRecord& record) {
    return QueryWith(
        link, Pick(which, commands::kWiredDns, commands::kWirelessDns),
        [&record](std::string_view value) { ReadAddressPair(value, record.dns1, record.dns2); });
}

int QueryWinsServers(CProjectorLink& link, LinkInterface which, ProjectorRecord& record) {
    return QueryWith(
        link, Pick(which, commands::kWiredWins, commands::kWirelessWins),
        [&record](std::string_view value) { ReadAddressPair(value, record.wins1, record.wins2); });
}

int QueryMailNotify(CProjectorLink& link, ProjectorRecord& record) {
    return QueryWith(link, commands::kMailNotify, [&record](std::string_view value) {
        record.mailNotify = ReadOnPrefix(value);
    });
}

int QuerySmtpServer(CProjectorLink& link, ProjectorRecord& record) {
    return QueryIntoAddress(link, commands::kSmtpServer, record.smtpServer);
}

int QuerySmtpPort(CProjectorLink& link, ProjectorRecord& record) {
    return QueryWith(link, commands::kSmtpPort, [&record](std::string_view value) {
        record.smtpPort = static_cast<std::uint16_t>(ReadDecimal(value));
    });
}

int QueryMailTo(CProjectorLink& link, int recipient, ProjectorRecord& record) {
    return QueryIntoText(link, commands::kMailTo[Slot(recipient, 3)],
                         numbered::MailTo(record, recipient));
}

int QueryMailEvents(CProjectorLink& link, int recipient, ProjectorRecord& record) {
    return QueryWith(link, commands::kMailEvents[Slot(recipient, 3)],
                     [&record, recipient](std::string_view value) {
                         numbered::MailEvents(record, recipient) = EventSetFromCode(value);
                     });
}

int QueryTrapAddress(CProjectorLink& link, int index, ProjectorRecord& record) {
    return QueryIntoAddress(link, commands::kTrapAddress[Slot(index, 2)],
                            numbered::TrapAddress(record, index));
}

int QueryCommunity(CProjectorLink& link, ProjectorRecord& record) {
    return QueryIntoText(link, commands::kCommunity, record.community);
}

int QueryPrimaryInterface(CProjectorLink& link, ProjectorRecord& record) {
    return QueryWith(link, commands::kPrimaryInterface, [&record](std::string_view value) {
        record.primaryInterface = static_cast<std::uint16_t>(ReadDecimal(value));
    });
}

int QuerySecurity(CProjectorLink& link, ProjectorRecord& record) {
    return QueryWith(link, commands::kSecurity, [&record](std::string_view value) {
        record.security = ReadSecurityCode(value);
    });
}

int QueryWepKeyId(CProjectorLink& link, ProjectorRecord& record) {
    return QueryWith(link, commands::kWepKeyId,
                     [&record](std::string_view value) { record.wepKeyId = ReadDecimal(value); });
}

int QueryWepKey(CProjectorLink& link, int index, ProjectorRecord& record) {
    return QueryWith(link, commands::kWepKey[Slot(index, 4)],
                     [&record, index](std::string_view value) {
                         CopyText(numbered::WepKey(record, index), ReadWepKeyValue(value));
                     });
}

// ---- sets -------------------------------------------------------------------------------------

int SetProjectorName(CProjectorLink& link, const ProjectorRecord& record) {
    return SetText(link, commands::kProjectorName, TextOf(record.projectorName));
}

int SetWiredConfig(CProjectorLink& link, const ProjectorRecord& record) {
    return SetText(link, commands::kWiredConfig, AddressConfigArgument(record));
}

int SetWirelessConfig(CProjectorLink& link, const ProjectorRecord& record) {
    std::string argument;
    if (!BasicWirelessConfigArgument(record, argument)) {
        return kSetNotSent;
    }
    return SetText(link, commands::kWirelessConfig, argument);
}

int SetExtendedWirelessConfig(CProjectorLink& link, const ProjectorRecord& record) {
    return SetText(link, commands::kExtendedWirelessConfig, ExtendedWirelessConfigArgument(record));
}

int SetDnsDomain(CProjectorLink& link, LinkInterface which, const ProjectorRecord& record) {
    return SetText(link, Pick(which, commands::kWiredDomain, commands::kWirelessDomain),
                   TextOf(record.dnsDomain));
}

int SetDnsServers(CProjectorLink& link, LinkInterface which, const ProjectorRecord& record) {
    return SetText(link, Pick(which, commands::kWiredDns, commands::kWirelessDns),
                   AddressPairArgument(record.dns1, record.dns2));
}

int SetWinsServers(CProjectorLink& link, LinkInterface which, const ProjectorRecord& record) {
    return SetText(link, Pick(which, commands::kWiredWins, commands::kWirelessWins),
                   AddressPairArgument(record.wins1, record.wins2));
}

int SetMailNotify(CProjectorLink& link, const ProjectorRecord& record) {
    return SetText(link, commands::kMailNotify, OnOffArgument(record.mailNotify));
}

int SetSmtpServer(CProjectorLink& link, const ProjectorRecord& record) {
    return SetText(link, commands::kSmtpServer, FormatDotted(record.smtpServer));
}

int SetSmtpPort(CProjectorLink& link, const ProjectorRecord& record) {
    return SetText(link, commands::kSmtpPort, Decimal(record.smtpPort));
}

int SetMailTo(CProjectorLink& link, int recipient, const ProjectorRecord& record) {
    return SetText(link, commands::kMailTo[Slot(recipient, 3)],
                   TextOf(numbered::MailTo(record, recipient)));
}

int SetMailEvents(CProjectorLink& link, int recipient, const ProjectorRecord& record) {
    return SetText(link, commands::kMailEvents[Slot(recipient, 3)],
                   EventCode(numbered::MailEvents(record, recipient)));
}

int SetTrapAddress(CProjectorLink& link, int index, const ProjectorRecord& record) {
    return SetText(link, commands::kTrapAddress[Slot(index, 2)],
                   FormatDotted(numbered::TrapAddress(record, index)));
}

int SetCommunity(CProjectorLink& link, const ProjectorRecord& record) {
    return SetText(link, commands::kCommunity, TextOf(record.community));
}

int SetPrimaryInterface(CProjectorLink& link, const ProjectorRecord& record) {
    return SetText(link, commands::kPrimaryInterface,
                   Decimal(static_cast<std::uint16_t>(record.primaryInterface)));
}

int SetSecurity(CProjectorLink& link, const ProjectorRecord& record) {
    return SetText(link, commands::kSecurity, SecurityCodeArgument(record.security));
}

int SetWepKeyId(CProjectorLink& link, const ProjectorRecord& record) {
    return SetText(link, commands::kWepKeyId, Decimal(record.wepKeyId));
}

int SetWepKey(CProjectorLink& link, int index, const ProjectorRecord& record) {
    std::string argument;
    if (!WepKeyArgument(TextOf(numbered::WepKey(record, index)), argument)) {
        return kSetNotSent;
    }
    return SetText(link, commands::kWepKey[Slot(index, 4)], argument);
}

int SendTestMail(CProjectorLink& link) {
    return SetText(link, commands::kTestMail, std::string_view());
}

int SendReset(CProjectorLink& link) {
    return link.SendCommand(commands::kReset.name, std::string_view(), false);
}

int SendStatusRequest(CProjectorLink& link) {
    return link.SendCommand(commands::kStatus.name, kStatusArgument, false);
}

}  // namespace lanterna
