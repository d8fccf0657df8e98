#include "fleet/AuditFindings.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "fleet/RecordFacts.h"
#include "platform/AsciiCase.h"
#include "record/RecordSlots.h"
#include "resources/StringIds.h"

namespace lanterna::fleet {

namespace {

constexpr FindingKind kNoPassword{"no-password", Severity::kCritical, kStringFindingNoPassword,
                                  kStringDetailNoPassword};
constexpr FindingKind kDuplicateAddress{"duplicate-address", Severity::kCritical,
                                        kStringFindingDuplicateAddress, kStringDetailAlsoAt};
constexpr FindingKind kOpenWireless{"open-wlan", Severity::kCritical, kStringFindingOpenWireless,
                                    kStringDetailEssid};
constexpr FindingKind kCommunityEmpty{"community-empty", Severity::kWarning,
                                      kStringFindingCommunityEmpty, kStringDetailCommunity};
constexpr FindingKind kCommunityDefault{"community-default", Severity::kWarning,
                                        kStringFindingCommunityDefault, kStringDetailCommunity};
constexpr FindingKind kWep{"wep", Severity::kWarning, kStringFindingWep, kStringDetailSecurity};
constexpr FindingKind kAdHoc{"ad-hoc", Severity::kWarning, kStringFindingAdHoc, kStringDetailEssid};
constexpr FindingKind kDuplicateName{"duplicate-name", Severity::kWarning,
                                     kStringFindingDuplicateName, kStringDetailAlsoAt};
constexpr FindingKind kMailWithoutEvents{"mail-without-events", Severity::kNotice,
                                         kStringFindingMailWithoutEvents, kStringDetailRecipients};
constexpr FindingKind kDhcpWithoutDns{"dhcp-without-dns", Severity::kNotice,
                                      kStringFindingDhcpWithoutDns, kStringDetailDhcpWithoutDns};

constexpr std::array<const FindingKind*, 10> kKinds = {
    &kNoPassword,     &kDuplicateAddress, &kOpenWireless,
    &kCommunityEmpty, &kCommunityDefault, &kWep,
    &kAdHoc,          &kDuplicateName,    &kMailWithoutEvents,
    &kDhcpWithoutDns};

constexpr std::array<std::string_view, 8> kWellKnownCommunities = {
    "public", "private", "community", "admin", "manager", "snmp", "default", "secret"};

void FindAlone(std::size_t index, const AuditedProjector& projector,
               std::vector<Finding>& findings) {
    const ProjectorRecord& r = projector.record;
    const auto add = [&](const FindingKind& kind, std::string value) {
        findings.push_back({index, &kind, std::move(value), {}});
    };
    if (!projector.passwordSet) {
        add(kNoPassword, "");
    }
    const std::string_view community = TextOf(r.community);
    if (r.communityState != kStateUnknown) {
        if (community.empty()) {
            add(kCommunityEmpty, "");
        }
        for (const std::string_view known : kWellKnownCommunities) {
            if (!community.empty() && EqualIgnoringCase(community, known)) {
                add(kCommunityDefault, std::string(community));
            }
        }
    }
    if (IsOpenWireless(r)) {
        add(kOpenWireless, std::string(TextOf(r.essid)));
    }
    if (UsesWep(r)) {
        add(kWep, SecurityText(r));
    }
    if (r.wirelessActive != 0 && r.adhoc != 0) {
        add(kAdHoc, std::string(TextOf(r.essid)));
    }
    if (r.mailNotify == 1) {
        bool anyEvent = false;
        for (int n = 1; n <= 3; ++n) {
            const bool hasRecipient = !TextOf(numbered::MailTo(r, n)).empty();
            anyEvent = anyEvent || (hasRecipient && (numbered::MailEvents(r, n) & 0x7FF) != 0);
        }
        if (!anyEvent) {
            add(kMailWithoutEvents, RecipientsText(r));
        }
    }
    if (r.dhcp != 0 && IsZeroAddress(r.dns1) && IsZeroAddress(r.dns2)) {
        add(kDhcpWithoutDns, "");
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
            std::vector<std::string> others;
            for (const std::size_t other : members) {
                if (other != member) {
                    others.push_back(projectors[other].address);
                }
            }
            findings.push_back({member, &kind, value, std::move(others)});
        }
    }
}

}  // namespace

std::string_view SeverityKey(Severity severity) {
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

int SeverityWordId(Severity severity) {
    switch (severity) {
        case Severity::kNotice:
            return kStringSeverityNotice;
        case Severity::kWarning:
            return kStringSeverityWarning;
        case Severity::kCritical:
            return kStringSeverityCritical;
    }
    return kStringSeverityNotice;
}

std::span<const FindingKind* const> AllFindingKinds() {
    return kKinds;
}

int FindingTitleId(const FindingKind& kind) {
    const auto found = std::find(kKinds.begin(), kKinds.end(), &kind);
    const int id = kStringFindingTitleFirst + static_cast<int>(found - kKinds.begin());
    return found != kKinds.end() && id <= kStringFindingTitleLast ? id : 0;
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

}  // namespace lanterna::fleet
