#include "fleet/WriteJudge.h"

#include <algorithm>
#include <bit>

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

// The sentence of each rule (string id) and what it takes after the field and the value.
enum class RuleValues { kNone, kSubnet, kKey64, kKey128 };

struct RuleWords {
    Rule rule;
    int sentence;
    RuleValues values;
};

constexpr RuleWords kRuleWords[] = {
    {Rule::kStaticAddressNeeded, kStringStaticAddressNeeded, RuleValues::kNone},
    {Rule::kIsHostAddress, kStringNotHostAddress, RuleValues::kNone},
    {Rule::kIsAddressUnique, kStringAddressOfOtherTarget, RuleValues::kNone},
    {Rule::kCheckAddressAgainstMask, kStringSubnetOwnAddress, RuleValues::kSubnet},
    {Rule::kSubnetMaskNeeded, kStringSubnetMaskNeeded, RuleValues::kNone},
    {Rule::kIsSubnetMask, kStringNotSubnetMask, RuleValues::kNone},
    {Rule::kIsGatewayAddress, kStringNotInSubnet, RuleValues::kSubnet},
    {Rule::kIsOptionalHostAddress, kStringNotOptionalHostAddress, RuleValues::kNone},
    {Rule::kIsDomainName, kStringNotDomainName, RuleValues::kNone},
    {Rule::kIsProjectorName, kStringNotProjectorName, RuleValues::kNone},
    {Rule::kIsPortNumber, kStringNotPortNumber, RuleValues::kNone},
    {Rule::kFirstRecipientNeeded, kStringFirstRecipientNeeded, RuleValues::kNone},
    {Rule::kIsMailAddress, kStringNotMailAddress, RuleValues::kNone},
    {Rule::kCheckTrapAddress, kStringNotOptionalHostAddress, RuleValues::kNone},
    {Rule::kCommunityNameNeeded, kStringCommunityNameNeeded, RuleValues::kNone},
    {Rule::kIsCommunityName, kStringNotCommunityName, RuleValues::kNone},
    {Rule::kIsEssidBasic, kStringNotEssidBasic, RuleValues::kNone},
    {Rule::kIsWepKeyBasic, kStringNotWepKeyBasic, RuleValues::kNone},
    {Rule::kIsEssid, kStringNotEssid, RuleValues::kNone},
    {Rule::kIsWepKey64, kStringNotWepKeyOfSize, RuleValues::kKey64},
    {Rule::kIsWepKey128, kStringNotWepKeyOfSize, RuleValues::kKey128},
    {Rule::kKeyInUseEmpty, kStringKeyInUseEmpty, RuleValues::kNone},
    {Rule::kAddressNetworkZero, kStringSubnetNetworkZero, RuleValues::kSubnet},
    {Rule::kGatewayIsNetworkOrBroadcast, kStringSubnetOwnAddress, RuleValues::kSubnet},
    {Rule::kGatewayIsOwnAddress, kStringGatewayOwnAddress, RuleValues::kNone},
    {Rule::kUnknown, kStringCannotContinue, RuleValues::kNone},
};

const RuleWords& WordsOf(Rule rule) {
    for (const RuleWords& words : kRuleWords) {
        if (words.rule == rule) {
            return words;
        }
    }
    return kRuleWords[std::size(kRuleWords) - 1];
}

// "10.90.0.0/16": the subnet of `address` under `mask` (a mask of ones then zeros).
std::string SubnetText(const Octets& address, const Octets& mask) {
    const std::uint32_t bits = ToHostOrder(mask);
    Octets network{};
    for (std::size_t i = 0; i < network.size(); ++i) {
        network[i] = static_cast<std::uint8_t>(address[i] & mask[i]);
    }
    return FormatDotted(network) + "/" + std::to_string(std::popcount(bits));
}

// The refusal of `field` by a rule of the address and mask, with the subnet they make when the
// rule speaks of it.
Refusal RefuseInSubnet(int stringId, std::string field, std::string value, Rule rule,
                       const Record& r) {
    Refusal refusal = Refuse(stringId, std::move(field), std::move(value), rule);
    if (WordsOf(rule).values == RuleValues::kSubnet) {
        refusal.subnet = SubnetText(r.ipAddress, r.subnetMask);
        refusal.address = FormatDotted(r.ipAddress);
    }
    return refusal;
}

// ---- the network settings dialog ------------------------------------------------------------

// What CheckAddressAgainstMask found wrong with the address under the mask.
Rule AgainstMaskRule(const Record& r) {
    return CheckAddressAgainstMask(FormatDotted(r.ipAddress), FormatDotted(r.subnetMask)) ==
                   kAddressNetworkZero
               ? Rule::kAddressNetworkZero
               : Rule::kCheckAddressAgainstMask;
}

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
    return AgainstMaskRule(r);
}

Rule SubnetMaskRule(const Record& r) {
    if (IsZeroAddress(r.subnetMask)) {
        return Rule::kSubnetMaskNeeded;
    }
    return IsSubnetMask(r.subnetMask) != 1 ? Rule::kIsSubnetMask : AgainstMaskRule(r);
}

Rule GatewayRule(const Record& r) {
    const std::uint32_t mask = ToHostOrder(r.subnetMask);
    if ((ToHostOrder(r.gateway) & mask) != (ToHostOrder(r.ipAddress) & mask)) {
        return Rule::kIsGatewayAddress;
    }
    return r.gateway == r.ipAddress ? Rule::kGatewayIsOwnAddress
                                    : Rule::kGatewayIsNetworkOrBroadcast;
}

std::optional<Refusal> RefusalOf(const EntryVerdict& verdict, const Record& r,
                                 const JudgeScope& scope) {
    switch (verdict.field) {
        case EntryField::kName:
            return Refuse(verdict.stringId, "projectorName", std::string(TextOf(r.projectorName)),
                          Rule::kIsProjectorName);
        case EntryField::kIpAddress:
            return RefuseInSubnet(verdict.stringId, "ipAddress", Dotted(r.ipAddress),
                                  IpAddressRule(r, scope), r);
        case EntryField::kSubnetMask:
            return RefuseInSubnet(verdict.stringId, "subnetMask", Dotted(r.subnetMask),
                                  SubnetMaskRule(r), r);
        case EntryField::kGateway:
            return RefuseInSubnet(verdict.stringId, "gateway", Dotted(r.gateway), GatewayRule(r),
                                  r);
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

RuleSentence SentenceOf(const Refusal& refusal) {
    const RuleWords& words = WordsOf(refusal.rule);
    RuleSentence sentence{words.sentence, {refusal.field, refusal.value, "", "", ""}};
    switch (words.values) {
        case RuleValues::kNone:
            break;
        case RuleValues::kSubnet:
            sentence.values[2] = refusal.subnet;
            sentence.values[3] = refusal.address;
            break;
        case RuleValues::kKey64:
            sentence.values[2] = "64";
            sentence.values[3] = "5";
            sentence.values[4] = "10";
            break;
        case RuleValues::kKey128:
            sentence.values[2] = "128";
            sentence.values[3] = "13";
            sentence.values[4] = "26";
            break;
    }
    // The address is what lies wrongly in the subnet, whichever of the two was refused.
    if (refusal.rule == Rule::kCheckAddressAgainstMask ||
        refusal.rule == Rule::kAddressNetworkZero) {
        sentence.values[0] = "ipAddress";
        sentence.values[1] = refusal.address;
    }
    // A key is never written out.
    if (refusal.field.starts_with("wepKey") && refusal.field != "wepKeyId") {
        sentence.values[1].clear();
    }
    return sentence;
}

}  // namespace lanterna::fleet
