// A write's command lines, or why the checks refuse it, from the record a job makes: the
// projector's settings as read, the assignments of the job (as lanternactl set takes them),
// the lines the write worker would send, then the checks before a write.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "fleet/RecordFields.h"
#include "fleet/WriteFlow.h"
#include "fleet/WritePlan.h"
#include "record/ProjectorList.h"
#include "record/RecordSlots.h"
#include "resources/StringIds.h"
#include "resources/TextPattern.h"

namespace lanterna::fleet {
namespace {

// kEssidUnread: a basic wireless module whose configuration line came in no known form.
enum class Module { kWired, kDhcp, kBasicWireless, kExtendedWireless, kEssidUnread };

// Every state word of a record that was read: what the read worker leaves.
void MarkAllRead(ProjectorRecord& r) {
    for (std::int32_t* state :
         {&r.dhcpState,        &r.projectorNameState, &r.ipAddressState,
          &r.subnetMaskState,  &r.gatewayState,       &r.dns1State,
          &r.dns2State,        &r.dnsDomainState,     &r.wins1State,
          &r.wins2State,       &r.mailNotifyState,    &r.smtpServerState,
          &r.smtpPortState,    &r.mailTo1State,       &r.mailTo2State,
          &r.mailTo3State,     &r.mailEvents1State,   &r.mailEvents2State,
          &r.mailEvents3State, &r.trapAddress1State,  &r.trapAddress2State,
          &r.communityState,   &r.essidState,         &r.wepEnabledState,
          &r.wepKeyState,      &r.adhocState,         &r.primaryInterfaceState,
          &r.securityState,    &r.wepKeyIdState,      &r.wepKey1State,
          &r.wepKey2State,     &r.wepKey3State,       &r.wepKey4State}) {
        *state = kStateRead;
    }
}

// A projector as read: ROOM-201 at 10.1.2.20/24, mail off, community "public".
ProjectorRecord ReadProjector(Module module) {
    ProjectorRecord r{};
    CopyText(r.projectorName, "ROOM-201");
    r.ipAddress = {10, 1, 2, 20};
    r.subnetMask = {255, 255, 255, 0};
    r.gateway = {10, 1, 2, 1};
    r.smtpPort = 25;
    CopyText(r.community, "public");
    r.imType = module == Module::kExtendedWireless ? kImTypeExtendedWireless : 21;
    r.dhcp = module == Module::kDhcp ? 1 : 0;
    if (module != Module::kWired && module != Module::kDhcp) {
        r.wirelessActive = 1;
        r.essidSet = 1;
        CopyText(r.essid, "PROJ-LAN");
        r.wepKeyId = 1;
    }
    MarkAllRead(r);
    if (module == Module::kEssidUnread) {
        r.essidState = kStateUnknown;
    }
    return r;
}

std::vector<FieldAssignment> Assignments(const std::string& words) {
    std::vector<FieldAssignment> assignments;
    std::istringstream in(words);
    for (std::string word; in >> word;) {
        const std::size_t equals = word.find('=');
        assignments.push_back({word.substr(0, equals), word.substr(equals + 1)});
    }
    return assignments;
}

std::string Describe(const WriteRefusal& refusal) {
    return std::visit(
        [](const auto& r) {
            using Kind = std::decay_t<decltype(r)>;
            if constexpr (std::is_same_v<Kind, Refusal>) {
                return "judged " + r.field + "=" + r.value + " by " +
                       std::to_string(static_cast<int>(r.rule));
            } else if constexpr (std::is_same_v<Kind, AddressTaken>) {
                return "taken " + r.address;
            } else if constexpr (std::is_same_v<Kind, UnreadSettingCarried>) {
                return "unread " + r.setting;
            } else if constexpr (std::is_same_v<Kind, HistoryNotKept>) {
                return "history " + r.folder;
            } else {
                return "refused " + r.field;
            }
        },
        refusal);
}

struct Expected {
    std::vector<std::string> lines;  // when the write may go
    std::optional<WriteRefusal> refusal;
};

Expected Lines(std::vector<std::string> lines) {
    return {std::move(lines), std::nullopt};
}

Expected Refused(WriteRefusal refusal) {
    return {{}, std::move(refusal)};
}

// What the checks make of `assignments` given to a projector of `module`: the lines to send, or
// the refusal; `leftOut` must come back empty (the command line refuses, never leaves out).
Expected Judge(Module module, const std::string& assignments,
               const ProjectorList* uniqueAmong = nullptr) {
    const ProjectorRecord reported = ReadProjector(module);
    ProjectorRecord record = reported;
    const ApplyOutcome applied = ApplyAssignments(Assignments(assignments), record);
    EXPECT_TRUE(applied.ok) << applied.field;
    Expected judged{PlanWrite(record, false), std::nullopt};
    JudgeScope scope;
    scope.reported = &reported;
    scope.uniqueAmong = uniqueAmong;
    scope.skipIndex = 0;
    std::vector<NotSentSetting> leftOut;
    judged.refusal = CheckBeforeWrite(record, judged.lines, applied.changed, scope, true, leftOut);
    EXPECT_TRUE(leftOut.empty());
    return judged;
}

TEST(WriteChecks, RecordToCommandLinesOrRefusal) {
    // The other target of the job gets 10.1.2.30 too.
    ProjectorList twoTargets;
    for (int i = 0; i < 2; ++i) {
        ProjectorRecord entry{};
        entry.ipAddress = {10, 1, 2, 30};
        twoTargets.Append(entry);
    }
    const struct {
        Module module;
        std::string assignments;
        Expected expected;
        const ProjectorList* uniqueAmong = nullptr;
    } cases[] = {
        // ---- what is sent ------------------------------------------------------------------
        {Module::kWired, "community=lab", Lines({"NWCNAME lab"})},
        {Module::kWired, "community=public", Lines({})},  // equal: state 3, nothing goes
        {Module::kWired,
         "mailNotify=on smtpServer=10.0.0.25 mailTo1=ops@example.org "
         "mailEvents1=lamp-replacement,no-signal",
         Lines({"NWSMTPACT ON", "NWSMTPSRV 10.0.0.25", "NWSMTPTO1 ops@example.org",
                "NWSMTPEVT1 0003 0000"})},
        {Module::kWired, "dns1=10.0.0.53", Lines({"NWDNS 10.0.0.53 0.0.0.0"})},
        {Module::kWired, "ipAddress=10.1.2.30",
         Lines({"NWCNF OFF 10.1.2.30 255.255.255.0 10.1.2.1"})},
        {Module::kBasicWireless, "dns1=10.0.0.53", Lines({"NWWLDNS 10.0.0.53 0.0.0.0"})},
        {Module::kExtendedWireless, "essid=HALL-LAN",
         Lines({"NWWLCNFS OFF 10.1.2.20 255.255.255.0 10.1.2.1 02 HALL-LAN", "NWRESET"})},
        {Module::kExtendedWireless, "security=wep64 wepKey1=abcde",
         Lines({"NWWLSEC 110000", "NWWEP1 6162636465", "NWRESET"})},
        // ---- the dialogs' checks -----------------------------------------------------------
        {Module::kWired, "community=a-b",
         Refused(Refusal{kStringBadCommunityName, "community", "a-b", Rule::kIsCommunityName})},
        {Module::kWired, "community=",
         Refused(Refusal{kStringBadCommunityName, "community", "", Rule::kCommunityNameNeeded})},
        // Switching notification on puts every entry of the mail dialog to the test.
        {Module::kWired, "mailNotify=on",
         Refused(Refusal{kStringBadSmtpServer, "smtpServer", "0.0.0.0", Rule::kIsHostAddress})},
        {Module::kWired, "mailNotify=on smtpServer=10.0.0.25",
         Refused(Refusal{kStringBadMailAddress, "mailTo1", "", Rule::kFirstRecipientNeeded})},
        {Module::kWired, "dns1=127.0.0.1",
         Refused(Refusal{kStringBadDns, "dns1", "127.0.0.1", Rule::kIsOptionalHostAddress})},
        {Module::kWired, "ipAddress=0.0.0.0",
         Refused(Refusal{kStringBadIpAddress, "ipAddress", "0.0.0.0", Rule::kStaticAddressNeeded})},
        {Module::kWired, "subnetMask=255.0.255.0",
         Refused(Refusal{kStringBadSubnetMask, "subnetMask", "255.0.255.0", Rule::kIsSubnetMask})},
        {Module::kWired, "projectorName=12345",
         Refused(
             Refusal{kStringBadProjectorName, "projectorName", "12345", Rule::kIsProjectorName})},
        {Module::kWired, "ipAddress=10.1.2.30",
         Refused(Refusal{kStringBadIpAddress, "ipAddress", "10.1.2.30", Rule::kIsAddressUnique}),
         &twoTargets},
        {Module::kBasicWireless, "wepEnabled=on wepKey=abcd",
         Refused(Refusal{kStringBadWepKey, "wepKey", "abcd", Rule::kIsWepKeyBasic})},
        {Module::kExtendedWireless, "essid=has:colon",
         Refused(Refusal{kStringBadEssid, "essid", "has:colon", Rule::kIsEssid})},
        {Module::kExtendedWireless, "security=wep64 wepKey2=abcde",
         Refused(Refusal{kStringBadWepKey, "wepKey1", "", Rule::kKeyInUseEmpty})},
        {Module::kExtendedWireless, "security=wep128 wepKey1=abcde",
         Refused(Refusal{kStringBadWepKey, "wepKey1", "abcde", Rule::kIsWepKey128})},
        // ---- settings the projector does not have, or the write would not carry ------------
        {Module::kWired, "essid=LAB",
         Refused(MissingSettingRefusal{"essid", MissingReason::kWiredInterface})},
        {Module::kExtendedWireless, "wepKey=abcde",
         Refused(MissingSettingRefusal{"wepKey", MissingReason::kBasicWirelessOnly})},
        {Module::kBasicWireless, "security=wep64",
         Refused(MissingSettingRefusal{"security", MissingReason::kExtendedWireless})},
        {Module::kWired, "mailTo2=desk@example.org",
         Refused(NotSentSetting{"mailTo2", NotSentReason::kMailOff})},
        {Module::kDhcp, "dns1=10.0.0.53", Refused(NotSentSetting{"dns1", NotSentReason::kDhcp})},
        {Module::kExtendedWireless, "wepKey2=abcde",
         Refused(NotSentSetting{"wepKey2", NotSentReason::kNotWepSecurity})},
        // ---- a setting never read goes out with nothing, a dry run included ----------------
        {Module::kEssidUnread, "projectorName=LAB-WL1", Refused(UnreadSettingCarried{"essid"})},
        {Module::kEssidUnread, "ipAddress=10.1.2.31", Refused(UnreadSettingCarried{"essid"})},
        {Module::kEssidUnread, "community=lab", Lines({"NWCNAME lab"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.assignments);
        const Expected judged = Judge(c.module, c.assignments, c.uniqueAmong);
        if (c.expected.refusal) {
            ASSERT_TRUE(judged.refusal.has_value()) << "lines: " << judged.lines.size();
            EXPECT_EQ(*judged.refusal, *c.expected.refusal) << Describe(*judged.refusal);
        } else {
            EXPECT_FALSE(judged.refusal.has_value()) << Describe(*judged.refusal);
            EXPECT_EQ(judged.lines, c.expected.lines);
        }
    }
}

// Each refusal of the dialogs' checks says its rule in words, with the value and what the rule
// judged it against; a key is never written out.
TEST(WriteChecks, RefusalsSayTheirRuleInWords) {
    const struct {
        Module module;
        std::string assignments;
        std::string words;
    } cases[] = {
        {Module::kWired, "gateway=10.0.0.1", "gateway 10.0.0.1 is not in the subnet 10.1.2.0/24"},
        {Module::kWired, "gateway=10.1.2.20", "gateway 10.1.2.20 is the projector's own address"},
        {Module::kWired, "gateway=10.1.2.255",
         "gateway 10.1.2.255 is the network or broadcast address of the subnet 10.1.2.0/24"},
        {Module::kWired, "ipAddress=10.1.2.0",
         "ipAddress 10.1.2.0 is the network or broadcast address of the subnet 10.1.2.0/24"},
        {Module::kWired, "ipAddress=0.0.1.5 subnetMask=255.255.0.0 gateway=0.0.0.0",
         "ipAddress 0.0.1.5 lies in the subnet 0.0.0.0/16, whose network part is 0"},
        {Module::kWired, "subnetMask=255.0.255.0",
         "subnetMask 255.0.255.0 is not a subnet mask: ones then zeros, 255.0.0.0 to "
         "255.255.255.254"},
        {Module::kWired, "ipAddress=0.0.0.0", "ipAddress: a static address is needed"},
        {Module::kWired, "ipAddress=127.0.0.5",
         "ipAddress 127.0.0.5 is not a host address: not 0.0.0.0, 127.x.x.x nor 224.0.0.0 and "
         "above"},
        {Module::kWired, "dns1=224.0.0.1",
         "dns1 224.0.0.1 is not a host address: not 127.x.x.x nor 224.0.0.0 and above; 0.0.0.0 "
         "for none"},
        {Module::kWired, "community=a-b",
         "community \"a-b\" is not a community name: 1 to 8 letters and digits"},
        {Module::kWired, "mailNotify=on smtpServer=10.0.0.25",
         "mailTo1: a first recipient is needed"},
        {Module::kBasicWireless, "wepEnabled=on wepKey=abcd",
         "wepKey is not a WEP key: 5 or 13 letters and digits, or 10 or 26 hex digits"},
        {Module::kExtendedWireless, "security=wep128 wepKey1=abcde",
         "wepKey1 is not a 128-bit WEP key: 13 letters and digits or 26 hex digits"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.assignments);
        const std::optional<WriteRefusal> refusal = Judge(c.module, c.assignments).refusal;
        ASSERT_TRUE(refusal.has_value());
        const Refusal* judged = std::get_if<Refusal>(&*refusal);
        ASSERT_NE(judged, nullptr) << Describe(*refusal);
        const RuleSentence sentence = SentenceOf(*judged);
        const auto& v = sentence.values;
        EXPECT_EQ(FormatString(sentence.id, Language::English, {v[0], v[1], v[2], v[3], v[4]}),
                  c.words);
    }
}

// A template leaves the settings a projector does not carry beside the write instead of
// refusing it; the rest goes.
TEST(WriteChecks, ATemplateTellsWhatItLeavesOut) {
    const ProjectorRecord reported = ReadProjector(Module::kDhcp);
    ProjectorRecord file = ReadProjector(Module::kWired);
    file.dns1 = {10, 0, 0, 53};
    CopyText(file.community, "site");
    ProjectorRecord record = reported;
    const std::vector<std::string> changed = MergeTemplate(file, record).changed;
    EXPECT_EQ(changed, (std::vector<std::string>{"dns1", "community"}));
    const std::vector<std::string> lines = PlanWrite(record, false);
    EXPECT_EQ(lines, std::vector<std::string>{"NWCNAME site"});
    JudgeScope scope;
    scope.reported = &reported;
    std::vector<NotSentSetting> leftOut;
    EXPECT_FALSE(CheckBeforeWrite(record, lines, changed, scope, false, leftOut).has_value());
    EXPECT_EQ(leftOut, (std::vector<NotSentSetting>{{"dns1", NotSentReason::kDhcp}}));
}

}  // namespace
}  // namespace lanterna::fleet
