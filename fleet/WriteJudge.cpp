#include "fleet/WriteJudge.h"

#include <algorithm>

#include "fleet/WritePlan.h"
#include "record/RecordSlots.h"
#include "resources/StringIds.h"
#include "settings/MailEntries.h"
#include "settings/NetworkEntries.h"
#include "settings/SnmpEntries.h"
#include "settings/TextRules.h"
#include "settings/WirelessEntries.h"
#include "settings/WirelessSecurityEntries.h"

namespace lanterna::fleet {

namespace {

using Record = ProjectorRecord;

// Decides which carried settings take part.
class CJudged {
  public:
    CJudged(const Record& record, const std::vector<std::string>& lines, const JudgeScope& scope)
        : record_(record), lines_(lines), reported_(scope.reported), changed_(scope.changed) {}

    // Carried by the write (or changed) with a value other than the reported one.
    template <typename Get>
    bool Judged(std::string_view field, Get get) const {
        const bool changed = changed_ != nullptr && std::find(changed_->begin(), changed_->end(),
                                                              field) != changed_->end();
        if (!changed && !PlanCarriesField(lines_, field)) {
            return false;
        }
        return reported_ == nullptr || !(get(record_) == get(*reported_));
    }

    const Record& record() const { return record_; }

  private:
    const Record& record_;
    const std::vector<std::string>& lines_;
    const Record* reported_;
    const std::vector<std::string>* changed_;
};

std::string Dotted(const Octets& octets) {
    return FormatDotted(octets);
}

Refusal Refuse(int stringId, std::string field, std::string value, Rule rule) {
    return Refusal{stringId, std::move(field), std::move(value), rule};
}

struct RuleWords {
    Rule rule;
    std::string_view name;
    int sentence;
};

constexpr RuleWords kRuleWords[] = {
    {Rule::kStaticAddressNeeded, "", kStringStaticAddressNeeded},
    {Rule::kIsHostAddress, "IsHostAddress", 0},
    {Rule::kIsAddressUnique, "IsAddressUnique", 0},
    {Rule::kCheckAddressAgainstMask, "CheckAddressAgainstMask", 0},
    {Rule::kSubnetMaskNeeded, "", kStringSubnetMaskNeeded},
    {Rule::kIsSubnetMask, "IsSubnetMask", 0},
    {Rule::kIsGatewayAddress, "IsGatewayAddress", 0},
    {Rule::kIsOptionalHostAddress, "IsOptionalHostAddress", 0},
    {Rule::kIsDomainName, "IsDomainName", 0},
    {Rule::kIsProjectorName, "IsProjectorName", 0},
    {Rule::kIsPortNumber, "IsPortNumber", 0},
    {Rule::kFirstRecipientNeeded, "", kStringFirstRecipientNeeded},
    {Rule::kIsMailAddress, "IsMailAddress", 0},
    {Rule::kCheckTrapAddress, "CheckTrapAddress", 0},
    {Rule::kCommunityNameNeeded, "", kStringCommunityNameNeeded},
    {Rule::kIsCommunityName, "IsCommunityName", 0},
    {Rule::kIsEssidBasic, "IsEssidBasic", 0},
    {Rule::kIsWepKeyBasic, "IsWepKeyBasic", 0},
    {Rule::kIsEssid, "IsEssid", 0},
    {Rule::kIsWepKey64, "IsWepKey (64-bit)", 0},
    {Rule::kIsWepKey128, "IsWepKey (128-bit)", 0},
    {Rule::kKeyInUseEmpty, "", kStringKeyInUseEmpty},
    {Rule::kUnknown, "?", 0},
};

const RuleWords& WordsOf(Rule rule) {
    for (const RuleWords& words : kRuleWords) {
        if (words.rule == rule) {
            return words;
        }
    }
    return kRuleWords[std::size(kRuleWords) - 1];
}

// ---- the network settings dialog ------------------------------------------------------------

Rule IpAddressRule(const Record& r, const JudgeScope& scope) {
    if (IsZeroAddress(r.ipAddress)) {
        return Rule::kStaticAddressNeeded;
    }
    if (IsHostAddress(r.ipAddress) != 1) {
        return Rule::kIsHostAddress;
    }
    if (scope.uniqueAmong != nullptr &&
        IsAddressUnique(*scope.uniqueAmong, r.ipAddress, scope.skipIndex) != 1) {
        return Rule::kIsAddressUnique;
    }
    return Rule::kCheckAddressAgainstMask;
}

Rule SubnetMaskRule(const Record& r) {
    if (IsZeroAddress(r.subnetMask)) {
        return Rule::kSubnetMaskNeeded;
    }
    return IsSubnetMask(r.subnetMask) != 1 ? Rule::kIsSubnetMask : Rule::kCheckAddressAgainstMask;
}

std::optional<Refusal> RefusalOf(const EntryVerdict& verdict, const Record& r,
                                 const JudgeScope& scope) {
    switch (verdict.field) {
        case EntryField::kName:
            return Refuse(verdict.stringId, "projectorName", std::string(TextOf(r.projectorName)),
                          Rule::kIsProjectorName);
        case EntryField::kIpAddress:
            return Refuse(verdict.stringId, "ipAddress", Dotted(r.ipAddress),
                          IpAddressRule(r, scope));
        case EntryField::kSubnetMask:
            return Refuse(verdict.stringId, "subnetMask", Dotted(r.subnetMask), SubnetMaskRule(r));
        case EntryField::kGateway:
            return Refuse(verdict.stringId, "gateway", Dotted(r.gateway), Rule::kIsGatewayAddress);
        case EntryField::kDns1:
            return Refuse(verdict.stringId, "dns1", Dotted(r.dns1), Rule::kIsOptionalHostAddress);
        case EntryField::kDns2:
            return Refuse(verdict.stringId, "dns2", Dotted(r.dns2), Rule::kIsOptionalHostAddress);
        case EntryField::kDomain:
            return Refuse(verdict.stringId, "dnsDomain", std::string(TextOf(r.dnsDomain)),
                          Rule::kIsDomainName);
        case EntryField::kWins1:
            return Refuse(verdict.stringId, "wins1", Dotted(r.wins1), Rule::kIsOptionalHostAddress);
        case EntryField::kWins2:
            return Refuse(verdict.stringId, "wins2", Dotted(r.wins2), Rule::kIsOptionalHostAddress);
        default:
            return Refuse(verdict.stringId, "?", "", Rule::kUnknown);
    }
}

std::optional<Refusal> JudgeNetwork(const CJudged& judged, const JudgeScope& judgeScope) {
    const Record& r = judged.record();
    NetworkEntryScope scope;
    scope.name =
        judged.Judged("projectorName", [](const Record& x) { return TextOf(x.projectorName); });
    // The address, mask and gateway are judged together: each rule of the three looks at more
    // than one of them.
    scope.addresses = judged.Judged("ipAddress", [](const Record& x) {
        return std::make_tuple(x.dhcp, x.ipAddress, x.subnetMask, x.gateway);
    });
    scope.dns1 = judged.Judged("dns1", [](const Record& x) { return x.dns1; });
    scope.dns2 = judged.Judged("dns2", [](const Record& x) { return x.dns2; });
    scope.domain = judged.Judged("dnsDomain", [](const Record& x) { return TextOf(x.dnsDomain); });
    scope.wins1 = judged.Judged("wins1", [](const Record& x) { return x.wins1; });
    scope.wins2 = judged.Judged("wins2", [](const Record& x) { return x.wins2; });
    scope.uniqueAmong = judgeScope.uniqueAmong;
    scope.skipIndex = judgeScope.skipIndex;
    const EntryVerdict verdict = CheckNetworkEntries(EntriesOf(r), scope);
    if (verdict.Accepted()) {
        return std::nullopt;
    }
    return RefusalOf(verdict, r, judgeScope);
}

// ---- mail notification: judged only with notification on, as the dialog does ---------------

std::optional<Refusal> JudgeMail(const CJudged& judged) {
    const Record& r = judged.record();
    if (r.mailNotify != 1) {
        return std::nullopt;
    }
    // Switching notification on puts every entry of the dialog to the test, sent or not: the
    // projector would mail with them from now on.
    const bool switchedOn =
        judged.Judged("mailNotify", [](const Record& x) { return x.mailNotify; });
    const MailEntries entries = MailEntriesOf(r);
    if ((switchedOn || judged.Judged("smtpServer", [](const Record& x) { return x.smtpServer; })) &&
        !CheckSmtpServerEntry(entries.smtpServer).Accepted()) {
        return Refuse(kStringBadSmtpServer, "smtpServer", Dotted(r.smtpServer),
                      Rule::kIsHostAddress);
    }
    if ((switchedOn || judged.Judged("smtpPort", [](const Record& x) { return x.smtpPort; })) &&
        !CheckSmtpPortEntry(entries.port).Accepted()) {
        return Refuse(kStringBadSmtpPort, "smtpPort", std::to_string(r.smtpPort),
                      Rule::kIsPortNumber);
    }
    for (int n = 1; n <= 3; ++n) {
        const std::string field = "mailTo" + std::to_string(n);
        const std::string_view address = TextOf(numbered::MailTo(r, n));
        const bool judgedHere = switchedOn || judged.Judged(field, [n](const Record& x) {
            return std::string(TextOf(numbered::MailTo(const_cast<Record&>(x), n)));
        });
        // The first recipient is also the sender, so it is needed; the others may be empty.
        if (judgedHere && !CheckMailToEntry(address, n).Accepted()) {
            return Refuse(kStringBadMailAddress, field, std::string(address),
                          address.empty() ? Rule::kFirstRecipientNeeded : Rule::kIsMailAddress);
        }
    }
    return std::nullopt;
}

// ---- SNMP ------------------------------------------------------------------------------------

std::optional<Refusal> JudgeSnmp(const CJudged& judged) {
    const Record& r = judged.record();
    for (int n = 1; n <= 2; ++n) {
        const std::string field = "trapAddress" + std::to_string(n);
        const Octets& trap = numbered::TrapAddress(r, n);
        const bool judgedHere = judged.Judged(field, [n](const Record& x) {
            return numbered::TrapAddress(const_cast<Record&>(x), n);
        });
        if (judgedHere &&
            !CheckTrapAddressEntry(EntryOfAddress(trap), EntryField::kTrapAddress1).Accepted()) {
            return Refuse(kStringBadTrapAddress, field, Dotted(trap), Rule::kCheckTrapAddress);
        }
    }
    if (judged.Judged("community", [](const Record& x) { return TextOf(x.community); }) &&
        !CheckCommunityEntry(TextOf(r.community)).Accepted()) {
        const std::string_view community = TextOf(r.community);
        return Refuse(kStringBadCommunityName, "community", std::string(community),
                      community.empty() ? Rule::kCommunityNameNeeded : Rule::kIsCommunityName);
    }
    return std::nullopt;
}

// ---- wireless LAN ----------------------------------------------------------------------------

std::optional<Refusal> JudgeBasicWireless(const CJudged& judged) {
    const Record& r = judged.record();
    if (judged.Judged("essid", [](const Record& x) { return TextOf(x.essid); }) &&
        !CheckEssidEntry(TextOf(r.essid), true).Accepted()) {
        return Refuse(kStringBadEssid, "essid", std::string(TextOf(r.essid)), Rule::kIsEssidBasic);
    }
    const bool keyJudged = judged.Judged(
        "wepKey", [](const Record& x) { return std::make_pair(x.wepEnabled, TextOf(x.wepKey)); });
    // The key as the dialog takes it from its box: judged as typed, never masked.
    WirelessEntries entries;
    entries.wepEnabled = r.wepEnabled != 0;
    entries.wepKey.text = std::string(TextOf(r.wepKey));
    if (keyJudged && !CheckWirelessEntries(entries).Accepted()) {
        return Refuse(kStringBadWepKey, "wepKey", entries.wepKey.text, Rule::kIsWepKeyBasic);
    }
    return std::nullopt;
}

std::optional<Refusal> JudgeExtendedWireless(const CJudged& judged) {
    const Record& r = judged.record();
    if (judged.Judged("essid", [](const Record& x) { return TextOf(x.essid); }) &&
        !CheckEssidEntry(TextOf(r.essid), false).Accepted()) {
        return Refuse(kStringBadEssid, "essid", std::string(TextOf(r.essid)), Rule::kIsEssid);
    }
    if (!UsesWepKeys(r)) {
        return std::nullopt;
    }
    const auto keys = [](const Record& x) {
        std::array<std::string, 4> texts;
        for (int n = 1; n <= 4; ++n) {
            texts[n - 1] = TextOf(numbered::WepKey(const_cast<Record&>(x), n));
        }
        return std::make_tuple(x.security, x.wepKeyId, texts);
    };
    const bool keysJudged = judged.Judged("security", keys) || judged.Judged("wepKeyId", keys) ||
                            judged.Judged("wepKey1", keys) || judged.Judged("wepKey2", keys) ||
                            judged.Judged("wepKey3", keys) || judged.Judged("wepKey4", keys);
    if (!keysJudged) {
        return std::nullopt;
    }
    // The stored keys stand behind the dialog's masked boxes: the record's own are judged.
    const EntryVerdict verdict = CheckWepKeyEntries(WirelessSecurityEntriesOf(r, false), r);
    if (verdict.Accepted()) {
        return std::nullopt;
    }
    const int slot = static_cast<int>(verdict.field) - static_cast<int>(EntryField::kWepKey1) + 1;
    const std::string_view key = TextOf(numbered::WepKey(r, slot));
    const int size = r.security[1] == 1 ? kWepKeySize64 : kWepKeySize128;
    Rule rule = size == kWepKeySize64 ? Rule::kIsWepKey64 : Rule::kIsWepKey128;
    if (key.empty()) {
        rule = Rule::kKeyInUseEmpty;
    }
    return Refuse(kStringBadWepKey, "wepKey" + std::to_string(slot), std::string(key), rule);
}

}  // namespace

std::optional<Refusal> JudgeWrite(const Record& record, const std::vector<std::string>& lines,
                                  const JudgeScope& scope) {
    const CJudged judged(record, lines, scope);
    if (auto refusal = JudgeNetwork(judged, scope)) {
        return refusal;
    }
    if (auto refusal = JudgeMail(judged)) {
        return refusal;
    }
    if (auto refusal = JudgeSnmp(judged)) {
        return refusal;
    }
    if (record.wirelessActive == 0) {
        return std::nullopt;
    }
    return record.imType == kImTypeExtendedWireless ? JudgeExtendedWireless(judged)
                                                    : JudgeBasicWireless(judged);
}

std::string_view RuleName(Rule rule) {
    return WordsOf(rule).name;
}

int RuleSentenceId(Rule rule) {
    return WordsOf(rule).sentence;
}

}  // namespace lanterna::fleet
