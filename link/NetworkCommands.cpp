#include "link/NetworkCommands.h"

#include <array>
#include <limits>
#include <utility>

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

// Runs `read` on the value when the query was answered; `read` says whether the value had its
// form.
template <typename Read>
int QueryWith(CProjectorLink& link, const NetworkCommand& command, Read read) {
    std::string value;
    const int result = QueryText(link, command, value);
    if (result != 1) {
        return result;
    }
    return read(std::string_view(value)) ? 1 : kQueryUnreadable;
}

// A text query: 1 held whole, kQueryCut held cut to the field, kQueryUnreadable for a value with
// a zero byte or longer than `longest`.
template <std::size_t N>
int QueryIntoText(CProjectorLink& link, const NetworkCommand& command, FixedText<N>& field,
                  std::size_t longest = std::string_view::npos) {
    std::string value;
    const int result = QueryText(link, command, value);
    if (result != 1) {
        return result;
    }
    switch (ReadCutText(value, field, longest)) {
        case TextTaken::kWhole:
            return 1;
        case TextTaken::kCut:
            return kQueryCut;
        case TextTaken::kRefused:
            break;
    }
    return kQueryUnreadable;
}

int QueryIntoAddress(CProjectorLink& link, const NetworkCommand& command, Octets& octets) {
    return QueryWith(link, command, [&octets](std::string_view value) {
        const auto parts = SplitValueParts(value);
        return parts.size() == 1 && ReadDottedAddress(parts[0], octets);
    });
}

// A value of one decimal part within `minimum` to `maximum`.
template <typename Number>
int QueryIntoNumber(CProjectorLink& link, const NetworkCommand& command, std::uint32_t minimum,
                    std::uint32_t maximum, Number& field) {
    return QueryWith(link, command, [&](std::string_view value) {
        const auto parts = SplitValueParts(value);
        std::uint32_t number = 0;
        if (parts.size() != 1 || !ReadDecimal(parts[0], minimum, maximum, number)) {
            return false;
        }
        field = static_cast<Number>(number);
        return true;
    });
}

std::string Decimal(std::int32_t value) {
    return std::to_string(value);
}

// The numbers of the command language that travel as 16-bit values.
constexpr std::uint32_t kLargest16Bit = std::numeric_limits<std::uint16_t>::max();
constexpr std::uint32_t kLargest31Bit = std::numeric_limits<std::int32_t>::max();
// A WEP key value longer than this is no key the projector holds: it is not reported at all.
constexpr std::size_t kLongestWepKeyValue = 255;

}  // namespace

int QueryText(CProjectorLink& link, const NetworkCommand& command, std::string& value) {
    ExchangeReply reply = link.Converse(command.name, std::string_view(), true, command.trim);
    switch (reply.outcome) {
        case ExchangeOutcome::kAnswered:
            value = std::string(TrimValue(reply.value));
            return 1;
        case ExchangeOutcome::kRefused:
            return 0;
        case ExchangeOutcome::kFailed:
            return kLinkFailed;
        case ExchangeOutcome::kStray:
        case ExchangeOutcome::kNotSent:
            break;
    }
    return kQueryUnreadable;
}

int SetText(CProjectorLink& link, const NetworkCommand& command, std::string_view argument) {
    switch (link.Converse(command.name, argument, false, command.trim).outcome) {
        case ExchangeOutcome::kAnswered:
            return 1;
        case ExchangeOutcome::kRefused:
        case ExchangeOutcome::kStray:
            return 0;
        case ExchangeOutcome::kNotSent:
            return kSetNotSent;
        case ExchangeOutcome::kFailed:
            break;
    }
    return kLinkFailed;
}

// ---- queries ----------------------------------------------------------------------------------

int QueryProjectorName(CProjectorLink& link, ProjectorRecord& record) {
    return QueryIntoText(link, commands::kProjectorName, record.projectorName);
}

int QueryWiredConfig(CProjectorLink& link, ProjectorRecord& record, bool& addressesReported) {
    return QueryWith(link, commands::kWiredConfig, [&](std::string_view value) {
        return ReadAddressConfig(value, record, addressesReported);
    });
}

int QueryWirelessConfig(CProjectorLink& link, ProjectorRecord& record) {
    return QueryWith(link, commands::kWirelessConfig, [&record](std::string_view value) {
        return ReadBasicWirelessConfig(value, record);
    });
}

int QueryExtendedWirelessConfig(CProjectorLink& link, ProjectorRecord& record) {
    return QueryWith(link, commands::kExtendedWirelessConfig, [&record](std::string_view value) {
        return ReadExtendedWirelessConfig(value, record);
    });
}

int QueryInterface(CProjectorLink& link, std::int32_t& interfaceValue) {
    return QueryIntoNumber(link, commands::kInterface, 0, kLargest16Bit, interfaceValue);
}

int QueryMacAddress(CProjectorLink& link, LinkInterface which, std::string& macAddress) {
    return QueryWith(link, Pick(which, commands::kWiredMac, commands::kWirelessMac),
                     [&macAddress](std::string_view value) {
                         if (!IsHardwareAddressValue(value)) {
                             return false;
                         }
                         macAddress = std::string(value);
                         return true;
                     });
}

int QueryDnsDomain(CProjectorLink& link, LinkInterface which, ProjectorRecord& record) {
    return QueryIntoText(link, Pick(which, commands::kWiredDomain, commands::kWirelessDomain),
                         record.dnsDomain);
}

int QueryDnsServers(CProjectorLink& link, LinkInterface which, ProjectorRecord& record) {
    return QueryWith(link, Pick(which, commands::kWiredDns, commands::kWirelessDns),
                     [&record](std::string_view value) {
                         return ReadAddressPair(value, record.dns1, record.dns2);
                     });
}

int QueryWinsServers(CProjectorLink& link, LinkInterface which, ProjectorRecord& record) {
    return QueryWith(link, Pick(which, commands::kWiredWins, commands::kWirelessWins),
                     [&record](std::string_view value) {
                         return ReadAddressPair(value, record.wins1, record.wins2);
                     });
}

int QueryMailNotify(CProjectorLink& link, ProjectorRecord& record) {
    return QueryWith(link, commands::kMailNotify, [&record](std::string_view value) {
        const auto parts = SplitValueParts(value);
        return parts.size() == 1 && ReadOnOff(parts[0], record.mailNotify);
    });
}

int QuerySmtpServer(CProjectorLink& link, ProjectorRecord& record) {
    return QueryIntoAddress(link, commands::kSmtpServer, record.smtpServer);
}

int QuerySmtpPort(CProjectorLink& link, ProjectorRecord& record) {
    return QueryIntoNumber(link, commands::kSmtpPort, 0, kLargest16Bit, record.smtpPort);
}

int QueryMailTo(CProjectorLink& link, int recipient, ProjectorRecord& record) {
    return QueryIntoText(link, commands::kMailTo[Slot(recipient, 3)],
                         numbered::MailTo(record, recipient));
}

int QueryMailEvents(CProjectorLink& link, int recipient, ProjectorRecord& record) {
    return QueryWith(link, commands::kMailEvents[Slot(recipient, 3)],
                     [&record, recipient](std::string_view value) {
                         return ReadEventSet(value, numbered::MailEvents(record, recipient));
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
    return QueryIntoNumber(link, commands::kPrimaryInterface, 0, kLargest16Bit,
                           record.primaryInterface);
}

int QuerySecurity(CProjectorLink& link, ProjectorRecord& record) {
    return QueryWith(link, commands::kSecurity, [&record](std::string_view value) {
        return ReadSecurityCode(value, record.security);
    });
}

int QueryWepKeyId(CProjectorLink& link, ProjectorRecord& record) {
    return QueryIntoNumber(link, commands::kWepKeyId, 0, kLargest31Bit, record.wepKeyId);
}

int QueryWepKey(CProjectorLink& link, int index, ProjectorRecord& record) {
    return QueryIntoText(link, commands::kWepKey[Slot(index, 4)], numbered::WepKey(record, index),
                         kLongestWepKeyValue);
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
