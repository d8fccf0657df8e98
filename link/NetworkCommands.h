#pragma once
// The network command set on an authenticated CProjectorLink: one query and one set operation
// per command, each a single Exchange with the command's value size and trim flag, and the
// send-only commands.
//
// Queries return 1 when the projector answered with a value of the command's form (see the
// table in link/NetworkValues.h) and then store it in the record fields the command serves;
// kQueryCut when a text was longer than its field and is held cut; 0 when the projector refused the query ("ERR"); kQueryUnreadable when it answered with
// anything else (a value of another form, a reply under another command's name); kLinkFailed
// when the exchange failed. On every result but 1 the record is left as it was.
// Sets return 1 when the projector accepted the command, 0 when it refused it, kLinkFailed when
// the exchange failed. A set whose argument holds a control byte (it could become two command
// lines) or a WEP key without hexadecimal form never goes out and gives kSetNotSent. No
// operation changes a state word: that is the workers' business.
//
// Threads: as CProjectorLink (one worker at a time).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "link/ProjectorLink.h"
#include "record/ProjectorRecord.h"

namespace lanterna {

// Which member of a wired/wireless command pair to use (NWCNF/NWWLCNF(S), NWDNS/NWWLDNS,
// NWWINS/NWWLWINS, NWDNSDMN/NWWLDNSDMN, NWMAC/NWWLMAC).
enum class LinkInterface { kWired, kWireless };

inline LinkInterface InterfaceOf(const ProjectorRecord& record) {
    return record.wirelessActive != 0 ? LinkInterface::kWireless : LinkInterface::kWired;
}

// One command of the set: its name, the longest value the record keeps (a text value is cut to
// it), and whether the line is trimmed.
struct NetworkCommand {
    std::string_view name;
    std::size_t valueSize;
    bool trim;
};

namespace commands {
inline constexpr NetworkCommand kProjectorName{"NWPNAME", 15, true};
inline constexpr NetworkCommand kWiredConfig{"NWCNF", 1024, true};
inline constexpr NetworkCommand kWirelessConfig{"NWWLCNF", 1024, false};
inline constexpr NetworkCommand kExtendedWirelessConfig{"NWWLCNFS", 1024, false};
inline constexpr NetworkCommand kInterface{"NWIF", 1024, true};
inline constexpr NetworkCommand kWiredMac{"NWMAC", 12, true};
inline constexpr NetworkCommand kWirelessMac{"NWWLMAC", 12, true};
inline constexpr NetworkCommand kWiredDns{"NWDNS", 1024, true};
inline constexpr NetworkCommand kWirelessDns{"NWWLDNS", 1024, true};
inline constexpr NetworkCommand kWiredWins{"NWWINS", 1024, true};
inline constexpr NetworkCommand kWirelessWins{"NWWLWINS", 1024, true};
inline constexpr NetworkCommand kWiredDomain{"NWDNSDMN", 96, true};
inline constexpr NetworkCommand kWirelessDomain{"NWWLDNSDMN", 96, true};
inline constexpr NetworkCommand kMailNotify{"NWSMTPACT", 64, true};
inline constexpr NetworkCommand kSmtpServer{"NWSMTPSRV", 20, true};
inline constexpr NetworkCommand kSmtpPort{"NWSMTPPORT", 255, true};
inline constexpr NetworkCommand kMailTo[3] = {
    {"NWSMTPTO1", 64, true}, {"NWSMTPTO2", 64, true}, {"NWSMTPTO3", 64, true}};
inline constexpr NetworkCommand kMailEvents[3] = {
    {"NWSMTPEVT1", 255, true}, {"NWSMTPEVT2", 255, true}, {"NWSMTPEVT3", 255, true}};
inline constexpr NetworkCommand kTestMail{"NWSMTPTEST", 0, true};
inline constexpr NetworkCommand kTrapAddress[2] = {{"NWTRAPIP1", 20, true},
                                                   {"NWTRAPIP2", 20, true}};
inline constexpr NetworkCommand kCommunity{"NWCNAME", 8, true};
inline constexpr NetworkCommand kPrimaryInterface{"NWPRIMIF", 255, true};
inline constexpr NetworkCommand kSecurity{"NWWLSEC", 255, true};
inline constexpr NetworkCommand kWepKeyId{"NWWEPID", 1024, false};
inline constexpr NetworkCommand kWepKey[4] = {{"NWWEP1", 1024, false},
                                              {"NWWEP2", 1024, false},
                                              {"NWWEP3", 1024, false},
                                              {"NWWEP4", 1024, false}};
inline constexpr NetworkCommand kReset{"NWRESET", 0, true};
inline constexpr NetworkCommand kStatus{"IMSTAT", 0, true};
}  // namespace commands

// The argument IMSTAT carries.
inline constexpr std::string_view kStatusArgument = "31";

// Result of a set whose argument cannot go on a command line: nothing was sent.
inline constexpr int kSetNotSent = -1;
// Result of a query answered with a value that is not of its command's form.
inline constexpr int kQueryUnreadable = -1;
// Result of a text query whose value was longer than its field: the record holds it cut.
inline constexpr int kQueryCut = 2;
// Result of a query or set whose exchange failed: the link is lost (closed, reply cut, without
// its prompt or over the reply buffer, deadline passed). Its reply, if any, was not read.
inline constexpr int kLinkFailed = -2;

// ---- generic forms ----------------------------------------------------------------------------

// Sends "NAME?" and delivers the value text whole, without the blanks around it and the line
// end behind it: 1, 0, kQueryUnreadable or kLinkFailed.
int QueryText(CProjectorLink& link, const NetworkCommand& command, std::string& value);

// Sends "NAME argument" (an empty argument: the bare name): 1, 0, kSetNotSent or kLinkFailed.
int SetText(CProjectorLink& link, const NetworkCommand& command, std::string_view argument);

// ---- queries ----------------------------------------------------------------------------------

int QueryProjectorName(CProjectorLink& link, ProjectorRecord& record);
// `addressesReported` false: the projector said "ON" alone, DHCP on without its addresses.
int QueryWiredConfig(CProjectorLink& link, ProjectorRecord& record, bool& addressesReported);
int QueryWirelessConfig(CProjectorLink& link, ProjectorRecord& record);
int QueryExtendedWirelessConfig(CProjectorLink& link, ProjectorRecord& record);
// NWIF: the decimal value (0 wired, any other wireless).
int QueryInterface(CProjectorLink& link, std::int32_t& interfaceValue);
int QueryMacAddress(CProjectorLink& link, LinkInterface which, std::string& macAddress);
int QueryDnsDomain(CProjectorLink& link, LinkInterface which, ProjectorRecord& record);
int QueryDnsServers(CProjectorLink& link, LinkInterface which, ProjectorRecord& record);
int QueryWinsServers(CProjectorLink& link, LinkInterface which, ProjectorRecord& record);
int QueryMailNotify(CProjectorLink& link, ProjectorRecord& record);
int QuerySmtpServer(CProjectorLink& link, ProjectorRecord& record);
int QuerySmtpPort(CProjectorLink& link, ProjectorRecord& record);
// `recipient` 1 to 3.
int QueryMailTo(CProjectorLink& link, int recipient, ProjectorRecord& record);
int QueryMailEvents(CProjectorLink& link, int recipient, ProjectorRecord& record);
// `index` 1 or 2.
int QueryTrapAddress(CProjectorLink& link, int index, ProjectorRecord& record);
int QueryCommunity(CProjectorLink& link, ProjectorRecord& record);
int QueryPrimaryInterface(CProjectorLink& link, ProjectorRecord& record);
int QuerySecurity(CProjectorLink& link, ProjectorRecord& record);
// NWWEPID: any decimal; one outside 1 to 4 is held as told (the worker marks it not reported).
int QueryWepKeyId(CProjectorLink& link, ProjectorRecord& record);
// `index` 1 to 4.
int QueryWepKey(CProjectorLink& link, int index, ProjectorRecord& record);

// ---- sets -------------------------------------------------------------------------------------

int SetProjectorName(CProjectorLink& link, const ProjectorRecord& record);
int SetWiredConfig(CProjectorLink& link, const ProjectorRecord& record);
int SetWirelessConfig(CProjectorLink& link, const ProjectorRecord& record);
int SetExtendedWirelessConfig(CProjectorLink& link, const ProjectorRecord& record);
int SetDnsDomain(CProjectorLink& link, LinkInterface which, const ProjectorRecord& record);
int SetDnsServers(CProjectorLink& link, LinkInterface which, const ProjectorRecord& record);
int SetWinsServers(CProjectorLink& link, LinkInterface which, const ProjectorRecord& record);
int SetMailNotify(CProjectorLink& link, const ProjectorRecord& record);
int SetSmtpServer(CProjectorLink& link, const ProjectorRecord& record);
int SetSmtpPort(CProjectorLink& link, const ProjectorRecord& record);
int SetMailTo(CProjectorLink& link, int recipient, const ProjectorRecord& record);
int SetMailEvents(CProjectorLink& link, int recipient, const ProjectorRecord& record);
int SetTrapAddress(CProjectorLink& link, int index, const ProjectorRecord& record);
int SetCommunity(CProjectorLink& link, const ProjectorRecord& record);
int SetPrimaryInterface(CProjectorLink& link, const ProjectorRecord& record);
int SetSecurity(CProjectorLink& link, const ProjectorRecord& record);
int SetWepKeyId(CProjectorLink& link, const ProjectorRecord& record);
int SetWepKey(CProjectorLink& link, int index, const ProjectorRecord& record);
// NWSMTPTEST: 1 when the projector accepted the request for a test mail.
int SendTestMail(CProjectorLink& link);

// ---- send-only --------------------------------------------------------------------------------

// NWRESET; the reply is not read. 1 sent, 0 not.
int SendReset(CProjectorLink& link);
// IMSTAT "31"; the reply is not read.
int SendStatusRequest(CProjectorLink& link);

}  // namespace lanterna
