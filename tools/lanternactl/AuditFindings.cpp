#include "tools/lanternactl/AuditFindings.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <ostream>

#include "platform/AsciiCase.h"
#include "record/RecordSlots.h"
#include "tools/lanternactl/RecordFacts.h"
#include "tools/lanternactl/WrappedText.h"

namespace lanterna::cli {

namespace {

constexpr FindingKind kNoPassword{
    "no-password", Severity::kCritical,
    "The projector asks for no password: anyone on the network can change its settings. "
    "Give it one with passwd."};
constexpr FindingKind kDuplicateAddress{
    "duplicate-address", Severity::kCritical,
    "Two or more projectors have the same static address: at most one of them can be "
    "reached there."};
constexpr FindingKind kCommunityEmpty{
    "community-empty", Severity::kWarning,
    "The SNMP community name is empty: the projector cannot be told apart from any other "
    "SNMP agent, and its dialog would not accept it."};
constexpr FindingKind kCommunityDefault{
    "community-default", Severity::kWarning,
    "The SNMP community name is a well-known default (such as public or private) that any "
    "SNMP tool tries first."};
constexpr FindingKind kWep{
    "wep", Severity::kWarning,
    "The wireless LAN is secured with WEP, which can be broken within minutes."};
constexpr FindingKind kAdHoc{
    "ad-hoc", Severity::kWarning,
    "The wireless LAN runs in ad hoc mode: stations connect to the projector directly, past "
    "any access point and its security."};
constexpr FindingKind kDuplicateName{
    "duplicate-name", Severity::kWarning,
    "Two or more projectors have the same name: lists, the address book and mail "
    "notifications cannot tell them apart."};
constexpr FindingKind kMailWithoutEvents{
    "mail-without-events", Severity::kNotice,
    "Mail notification is on, but no recipient has an event selected: no mail is ever sent."};
constexpr FindingKind kDhcpWithoutDns{
    "dhcp-without-dns", Severity::kNotice,
    "The address comes from DHCP and no DNS server is set: unless the DHCP server hands one "
    "out, names cannot be resolved."};

constexpr std::array<const FindingKind*, 9> kKinds = {
    &kNoPassword, &kDuplicateAddress, &kCommunityEmpty,    &kCommunityDefault, &kWep,
    &kAdHoc,      &kDuplicateName,    &kMailWithoutEvents, &kDhcpWithoutDns};

constexpr std::array<std::string_view, 8> kWellKnownCommunities = {
    "public", "private", "community", "admin", "manager", "snmp", "default", "secret"};

void FindAlone(std::size_t index, const AuditedProjector& projector,
               std::vector<Finding>& findings) {
    const ProjectorRecord& r = projector.record;
    const auto add = [&](const FindingKind& kind, std::string detail) {
        findings.push_back({index, &kind, std::move(detail)});
    };
    if (!projector.passwordSet) {
        add(kNoPassword, "no password");
    }
    const std::string_view community = TextOf(r.community);
    if (r.communityState != kStateUnknown) {
        if (community.empty()) {
            add(kCommunityEmpty, "community \"\"");
        }
        for (const std::string_view known : kWellKnownCommunities) {
            if (!community.empty() && EqualIgnoringCase(community, known)) {
                add(kCommunityDefault, "community \"" + std::string(community) + "\"");
            }
        }
    }
    if (UsesWep(r)) {
        add(kWep, "security " + SecurityText(r));
    }
    if (r.wirelessActive != 0 && r.adhoc != 0) {
        add(kAdHoc, "ESSID \"" + std::string(TextOf(r.essid)) + "\"");
    }
    if (r.mailNotify == 1) {
        bool anyEvent = false;
        for (int n = 1; n <= 3; ++n) {
            const bool hasRecipient = !TextOf(numbered::MailTo(r, n)).empty();
            anyEvent = anyEvent || (hasRecipient && (numbered::MailEvents(r, n) & 0x7FF) != 0);
        }
        if (!anyEvent) {
            add(kMailWithoutEvents, "recipients " + RecipientsText(r));
        }
    }
    if (r.dhcp != 0 && IsZeroAddress(r.dns1) && IsZeroAddress(r.dns2)) {
        add(kDhcpWithoutDns, "DHCP, DNS 0.0.0.0");
    }
}

// The projectors sharing one value of `key` (none: not compared), each with the others named.
template <typename Key>
void FindShared(const std::vector<AuditedProjector>& projectors, const FindingKind& kind, Key key,
                std::vector<Finding>& findings) {
    std::map<std::string, std::vector<std::size_t>> groups;
    for (std::size_t i = 0; i < projectors.size(); ++i) {
        if (const std::optional<std::string> value = key(projectors[i])) {
            groups[*value].push_back(i);
        }
    }
    for (const auto& [value, members] : groups) {
        if (members.size() < 2) {
            continue;
        }
        for (const std::size_t member : members) {
            std::string others;
            for (const std::size_t other : members) {
                if (other != member) {
                    others += (others.empty() ? "" : ", ") + projectors[other].address;
                }
            }
            findings.push_back({member, &kind, "\"" + value + "\" also at " + others});
        }
    }
}

}  // namespace

std::string_view SeverityWord(Severity severity) {
    switch (severity) {
        case Severity::kNotice:
            return "notice";
        case Severity::kWarning:
            return "warning";
        case Severity::kCritical:
            return "critical";
    }
    return "notice";
}

std::vector<Finding> Audit(const std::vector<AuditedProjector>& projectors) {
    std::vector<Finding> findings;
    for (std::size_t i = 0; i < projectors.size(); ++i) {
        FindAlone(i, projectors[i], findings);
    }
    FindShared(
        projectors, kDuplicateName,
        [](const AuditedProjector& p) {
            const std::string_view name = TextOf(p.record.projectorName);
            if (name.empty()) {
                return std::optional<std::string>();
            }
            return std::optional<std::string>(std::string(name));
        },
        findings);
    FindShared(
        projectors, kDuplicateAddress,
        [](const AuditedProjector& p) {
            if (p.record.dhcp != 0 || IsZeroAddress(p.record.ipAddress)) {
                return std::optional<std::string>();
            }
            return std::optional<std::string>(FormatDotted(p.record.ipAddress));
        },
        findings);
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.projector < b.projector; });
    return findings;
}

void PrintFindingHelp(std::ostream& out) {
    for (const FindingKind* kind : kKinds) {
        out << "  " << SeverityWord(kind->severity) << "  " << kind->id << "\n";
        PrintWrapped(out, kind->meaning);
    }
}

}  // namespace lanterna::cli
