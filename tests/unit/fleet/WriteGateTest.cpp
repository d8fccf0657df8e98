// The write gate, which every road passes: a write's command lines, or why the gate refuses it,
// from the record a job makes (the projector's settings as read, the assignments of the job as
// lanternactl set takes them, the lines the write worker would send); the refusals in words;
// then the run's addresses and the projector's identity.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "fleet/RecordFields.h"
#include "fleet/WriteFlow.h"
#include "fleet/WriteGate.h"
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
    CopyText(r.macAddress, "02000A010214");
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
            } else if constexpr (std::is_same_v<Kind, IdentityShared>) {
                return "shared " + r.mac;
            } else if constexpr (std::is_same_v<Kind, IdentityMismatch>) {
                return "kept for " + r.expectedMac;
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

// A run of two targets: the one judged at 10.1.2.20, another at 10.1.2.21 (ROOM-202).
GateRun TwoTargets(std::optional<std::string> otherGiven = std::nullopt) {
    GateRun run;
    run.present = {"10.1.2.20", "10.1.2.21"};
    run.given = {std::nullopt, std::move(otherGiven)};
    run.names = {"ROOM-201", "ROOM-202"};
    return run;
}

// What the gate makes of `assignments` given to a projector of `module`: the lines to send, or
// the refusal; `leftOut` must come back empty (the command line refuses, never leaves out).
Expected Judge(Module module, const std::string& assignments, const GateRun& run = TwoTargets(),
               const std::string& keptFor = "", std::optional<std::uint8_t> keptForType = {}) {
    const ProjectorRecord reported = ReadProjector(module);
    ProjectorRecord record = reported;
    const ApplyOutcome applied = ApplyAssignments(Assignments(assignments), record);
    EXPECT_TRUE(applied.ok) << applied.field;
    Expected judged{PlanWrite(record, false), std::nullopt};
    GateCase write;
    write.reported = &reported;
    write.record = &record;
    write.lines = &judged.lines;
    write.changed = &applied.changed;
    write.keptFor = keptFor;
    write.keptForType = keptForType;
    std::vector<NotSentSetting> leftOut;
    judged.refusal = PassGate(run, write, leftOut);
    EXPECT_TRUE(leftOut.empty());
    return judged;
}

TEST(WriteGate, RecordToCommandLinesOrRefusal) {
    const struct {
        Module module;
        std::string assignments;
        Expected expected;
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
        const Expected judged = Judge(c.module, c.assignments);
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
TEST(WriteGate, RefusalsSayTheirRuleInWords) {
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
        {Module::kWired, "projectorName=12345",
         "projectorName \"12345\" is not a projector name: 1 to 15 letters, digits and '-', not "
         "digits only"},
        {Module::kWired, "subnetMask=0.0.0.0", "subnetMask: a subnet mask is needed"},
        {Module::kWired, "mailNotify=on",
         "smtpServer 0.0.0.0 is not a host address: not 0.0.0.0, 127.x.x.x nor 224.0.0.0 and "
         "above"},
        {Module::kExtendedWireless, "essid=has:colon",
         "essid \"has:colon\" is not an ESSID: up to 32 bytes 0x21 to 0x7e but ':'"},
        {Module::kExtendedWireless, "security=wep64 wepKey2=abcde",
         "wepKey1: the key in use (wepKeyId) must not be empty"},
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
TEST(WriteGate, ATemplateTellsWhatItLeavesOut) {
    const ProjectorRecord reported = ReadProjector(Module::kDhcp);
    ProjectorRecord file = ReadProjector(Module::kWired);
    file.dns1 = {10, 0, 0, 53};
    CopyText(file.community, "site");
    ProjectorRecord record = reported;
    const std::vector<std::string> changed = MergeTemplate(file, record).changed;
    EXPECT_EQ(changed, (std::vector<std::string>{"dns1", "community"}));
    const std::vector<std::string> lines = PlanWrite(record, false);
    EXPECT_EQ(lines, std::vector<std::string>{"NWCNAME site"});
    GateCase write;
    write.reported = &reported;
    write.record = &record;
    write.lines = &lines;
    write.changed = &changed;
    write.unsentRefuses = false;
    std::vector<NotSentSetting> leftOut;
    EXPECT_FALSE(PassGate(TwoTargets(), write, leftOut).has_value());
    EXPECT_EQ(leftOut, (std::vector<NotSentSetting>{{"dns1", NotSentReason::kDhcp}}));
}

// ---- the run's addresses ------------------------------------------------------------------

// A static address is refused when another target holds it now or is given it, or something
// answers a hello there; --force lets each through. Addresses compare as addresses.
TEST(WriteGate, AnAddressOfAnotherIsRefusedUnlessForced) {
    const std::string move = "ipAddress=10.1.2.30";
    const Expected moved = Lines({"NWCNF OFF 10.1.2.30 255.255.255.0 10.1.2.1"});
    GateRun answering = TwoTargets();
    answering.answering.emplace("10.1.2.30", "HALL-1F");
    GateRun holding = TwoTargets();
    holding.present[1] = "10.1.2.30";
    const struct {
        GateRun run;
        Expected expected;
    } cases[] = {
        {TwoTargets(), moved},
        {TwoTargets(GivenAddress({{"ipAddress", "10.1.2.030"}})),
         Refused(Refusal{kStringBadIpAddress, "ipAddress", "10.1.2.30", Rule::kIsAddressUnique})},
        {holding, Refused(AddressTaken{"10.1.2.30", "ROOM-202"})},
        {answering, Refused(AddressTaken{"10.1.2.30", "HALL-1F"})},
    };
    for (const auto& c : cases) {
        for (const bool force : {false, true}) {
            GateRun run = c.run;
            run.force = force;
            const Expected judged = Judge(Module::kWired, move, run);
            const Expected& expected = force ? moved : c.expected;
            EXPECT_EQ(judged.refusal.has_value(), expected.refusal.has_value());
            if (judged.refusal && expected.refusal) {
                EXPECT_EQ(*judged.refusal, *expected.refusal) << Describe(*judged.refusal);
            }
        }
    }
    // Switching DHCP on gives no address to compare.
    EXPECT_EQ(GivenAddress({{"ipAddress", "10.1.2.30"}, {"dhcp", "on"}}), std::nullopt);
}

// ---- identity -----------------------------------------------------------------------------

// Settings kept for a projector go to it alone: its hardware address (either interface, as the
// run read them) and module type where the file names one, and none while two claim it.
TEST(WriteGate, KeptSettingsGoOnlyToTheirOwnProjector) {
    const std::string own = "02000A010214";
    GateRun shared = TwoTargets();
    shared.claims = {{"10.1.2.20", own}, {"10.1.2.21", own}};
    GateRun otherInterface = TwoTargets();
    otherInterface.claims = {{"10.1.2.20", own}, {"10.1.2.20", "02000A0102AA"}};
    const struct {
        GateRun run;
        std::string keptFor;
        std::optional<std::uint8_t> type;
        std::optional<WriteRefusal> refusal;
        std::string words;
    } cases[] = {
        {TwoTargets(), "02:00:0a:01:02:14", std::nullopt, std::nullopt, ""},
        {otherInterface, "02000A0102AA", std::nullopt, std::nullopt, ""},
        {TwoTargets(), "02000A0102AA", std::nullopt, IdentityMismatch{"02000A0102AA", own},
         "kept for the projector with hardware address 02:00:0A:01:02:AA; this one reports "
         "02:00:0A:01:02:14"},
        {TwoTargets(), own, std::uint8_t{22}, IdentityMismatch{own, own, 22, 21},
         "kept for a type-22 module; this one is type 21"},
        {shared, own, std::nullopt, IdentityShared{own, {"10.1.2.20", "10.1.2.21"}},
         "10.1.2.20 and 10.1.2.21 both report the hardware address 02:00:0A:01:02:14: what is "
         "kept for it goes to neither"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words);
        const Expected judged = Judge(Module::kWired, "community=lab", c.run, c.keptFor, c.type);
        ASSERT_EQ(judged.refusal.has_value(), c.refusal.has_value());
        if (!c.refusal) {
            continue;
        }
        EXPECT_EQ(*judged.refusal, *c.refusal) << Describe(*judged.refusal);
        const RuleSentence sentence = std::visit(
            [](const auto& r) -> RuleSentence {
                if constexpr (std::is_same_v<std::decay_t<decltype(r)>, IdentityShared> ||
                              std::is_same_v<std::decay_t<decltype(r)>, IdentityMismatch>) {
                    return SentenceOf(r);
                } else {
                    return {};
                }
            },
            *judged.refusal);
        const auto& v = sentence.values;
        EXPECT_EQ(FormatString(sentence.id, Language::English, {v[0], v[1], v[2], v[3], v[4]}),
                  c.words);
    }
}

}  // namespace
}  // namespace lanterna::fleet
