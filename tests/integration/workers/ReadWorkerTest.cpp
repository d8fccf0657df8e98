// The read worker against simulated projectors: every query in its order, the identity check
// and each failure.

#include "WorkerHarness.h"

namespace lanterna::test {
namespace {

using Progress = std::vector<std::intptr_t>;
using Results = std::vector<PostedMessage>;

const Lines kMailAndServiceQueries = {"NWSMTPACT?",  "NWSMTPSRV?", "NWSMTPPORT?", "NWSMTPTO1?",
                                      "NWSMTPTO2?",  "NWSMTPTO3?", "NWSMTPEVT1?", "NWSMTPEVT2?",
                                      "NWSMTPEVT3?", "NWTRAPIP1?", "NWTRAPIP2?",  "NWCNAME?",
                                      "NWPRIMIF?"};

Lines Concat(Lines head, const Lines& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

const Progress kFullReadProgress = {10, 25, 10, 10, 5, 5, 5, 5, 5, 5, 5, 5, 5};

// ---- full reads -------------------------------------------------------------------------------

TEST(ReadWorker, WiredProjectorIsReadCompletely) {
    auto config = ProjectorAt("127.86.3.1");
    config.name = "ROOM-12";
    config.password = "pw";
    config.mac = "00A0B1C2D3E4";
    CWorkerBench bench(config);
    sim::ProjectorSettings settings = bench.projector.Settings();
    settings.wired.dns1 = {8, 8, 8, 8};
    settings.wired.dnsDomain = "example.org";
    settings.mailNotify = true;
    settings.smtpServer = {10, 9, 8, 7};
    settings.mailTo[0] = "ops@example.org";
    settings.mailEvents[0] = {0x001f, 0x007f};  // 0x0004 of the first word is ignored
    settings.community = "lab";
    bench.projector.SetSettings(settings);

    EXPECT_EQ(ReadWorker(*bench.state), 1);
    ASSERT_NE(bench.state->link, nullptr);  // left open for the write
    EXPECT_EQ(bench.LogAfterClose(),
              Concat({"NWIF?", "NWMAC?", "NWPNAME?", "NWCNF?", "NWDNSDMN?", "NWDNS?", "NWWINS?"},
                     kMailAndServiceQueries));
    const auto posted = bench.TakePosted();
    EXPECT_EQ(posted.progress, kFullReadProgress);
    EXPECT_EQ(posted.ProgressTotal(), 100);
    EXPECT_EQ(posted.results, (Results{{kMessageReadResult, 1}}));

    const ProjectorRecord& r = bench.Record();
    EXPECT_EQ(TextOf(r.macAddress), "00A0B1C2D3E4");
    EXPECT_EQ(TextOf(r.projectorName), "ROOM-12");
    EXPECT_EQ(r.wirelessActive, 0);
    EXPECT_EQ(r.dhcp, 0);
    EXPECT_EQ(r.ipAddress, (Octets{127, 86, 3, 1}));
    EXPECT_EQ(r.gateway, (Octets{127, 86, 3, 254}));
    EXPECT_EQ(r.subnetMask, (Octets{255, 255, 255, 0}));
    EXPECT_EQ(r.dns1, (Octets{8, 8, 8, 8}));
    EXPECT_EQ(TextOf(r.dnsDomain), "example.org");
    EXPECT_EQ(r.mailNotify, 1);
    EXPECT_EQ(r.smtpServer, (Octets{10, 9, 8, 7}));
    EXPECT_EQ(r.smtpPort, 25);
    EXPECT_EQ(TextOf(r.mailTo1), "ops@example.org");
    EXPECT_EQ(r.mailEvents1, 0x7ffU);
    EXPECT_EQ(TextOf(r.community), "lab");
    for (const std::int32_t state :
         {r.projectorNameState,   r.dhcpState,         r.ipAddressState,    r.subnetMaskState,
          r.gatewayState,         r.dnsDomainState,    r.dns1State,         r.dns2State,
          r.wins1State,           r.wins2State,        r.mailNotifyState,   r.smtpServerState,
          r.smtpPortState,        r.mailTo1State,      r.mailTo3State,      r.mailEvents1State,
          r.mailEvents3State,     r.trapAddress1State, r.trapAddress2State, r.communityState,
          r.primaryInterfaceState}) {
        EXPECT_EQ(state, kStateRead);
    }
    EXPECT_EQ(r.essidState, kStateUnknown);  // the wireless settings are not read when wired
}

TEST(ReadWorker, IdentityOnlyStopsAfterTheHardwareAddress) {
    auto config = ProjectorAt("127.86.3.2");
    config.wireless = true;
    CWorkerBench bench(config);
    bench.state->readAllSettings = 0;
    EXPECT_EQ(ReadWorker(*bench.state), 1);
    EXPECT_NE(bench.state->link, nullptr);
    EXPECT_EQ(bench.LogAfterClose(), (Lines{"NWIF?", "NWWLMAC?"}));
    const auto posted = bench.TakePosted();
    EXPECT_EQ(posted.progress, (Progress{10, 25, 65}));
    EXPECT_EQ(bench.Record().wirelessActive, 1);
    EXPECT_EQ(bench.Record().projectorNameState, kStateUnknown);
}

TEST(ReadWorker, BasicWirelessModuleUsesTheWirelessCommands) {
    auto config = ProjectorAt("127.86.3.3");
    config.wireless = true;
    config.imType = 21;
    CWorkerBench bench(config);
    sim::ProjectorSettings settings = bench.projector.Settings();
    settings.basicWirelessMode = 7;
    settings.essid = "HALL-B";
    settings.wepKey = "0a0b0c0d0e";
    bench.projector.SetSettings(settings);

    EXPECT_EQ(ReadWorker(*bench.state), 1);
    EXPECT_EQ(bench.LogAfterClose(), Concat({"NWIF?", "NWWLMAC?", "NWPNAME?", "NWWLCNF?",
                                             "NWWLDNSDMN?", "NWWLDNS?", "NWWLWINS?"},
                                            kMailAndServiceQueries));
    const ProjectorRecord& r = bench.Record();
    EXPECT_EQ(r.wirelessActive, 1);
    EXPECT_EQ(r.essidSet, 1);
    EXPECT_EQ(r.wepEnabled, 1);
    EXPECT_EQ(r.adhoc, 1);
    EXPECT_EQ(TextOf(r.essid), "HALL-B");
    EXPECT_EQ(TextOf(r.wepKey), "0a0b0c0d0e");
    EXPECT_EQ(r.essidState, kStateRead);
    EXPECT_EQ(r.wepEnabledState, kStateRead);
    EXPECT_EQ(r.wepKeyState, kStateRead);
    EXPECT_EQ(r.adhocState, kStateRead);
    EXPECT_EQ(r.ipAddress, (Octets{127, 86, 3, 3}));
}

TEST(ReadWorker, ExtendedModuleReadsSecurityAndWepKeys) {
    auto config = ProjectorAt("127.86.3.4");
    config.wireless = true;
    config.imType = 22;
    CWorkerBench bench(config);
    sim::ProjectorSettings settings = bench.projector.Settings();
    settings.security = "120000";
    settings.wepKeyId = 3;
    settings.wepKeys = {"00112233445566778899aabbcc", "", "0a0b0c0d0e", std::string(300, 'f')};
    bench.projector.SetSettings(settings);
    CopyText(bench.Record().wepKey2, "stale");

    EXPECT_EQ(ReadWorker(*bench.state), 1);
    EXPECT_EQ(
        bench.LogAfterClose(),
        Concat({"NWIF?", "NWWLMAC?", "NWPNAME?", "NWWLCNFS?", "NWWLSEC?", "NWWEPID?", "NWWEP1?",
                "NWWEP2?", "NWWEP3?", "NWWEP4?", "NWWLDNSDMN?", "NWWLDNS?", "NWWLWINS?"},
               kMailAndServiceQueries));
    const ProjectorRecord& r = bench.Record();
    EXPECT_EQ(r.security, (std::array<std::int32_t, 4>{1, 2, 0, 0}));
    EXPECT_EQ(r.wepKeyId, 3);
    EXPECT_EQ(TextOf(r.wepKey1), "00112233445566778899aabbcc");
    EXPECT_EQ(TextOf(r.wepKey2), "");
    EXPECT_EQ(TextOf(r.wepKey3), "0a0b0c0d0e");
    EXPECT_EQ(TextOf(r.wepKey4), "");  // 300 characters are no key of 26 at most
    EXPECT_EQ(r.wepKey4State, kStateUnknown);
    EXPECT_EQ(r.wepKey2State, kStateRead);
    EXPECT_EQ(r.essidSet, 1);
    EXPECT_EQ(TextOf(r.essid), "PROJ-LAN");
    EXPECT_EQ(r.securityState, kStateRead);
}

TEST(ReadWorker, ExtendedModuleInAdhocModeSkipsTheSecurity) {
    auto config = ProjectorAt("127.86.3.5");
    config.wireless = true;
    config.imType = 22;
    CWorkerBench bench(config);
    sim::ProjectorSettings settings = bench.projector.Settings();
    settings.extendedWirelessMode = 3;
    settings.security = "110000";
    bench.projector.SetSettings(settings);

    EXPECT_EQ(ReadWorker(*bench.state), 1);
    EXPECT_EQ(bench.LogAfterClose(), Concat({"NWIF?", "NWWLMAC?", "NWPNAME?", "NWWLCNFS?",
                                             "NWWLDNSDMN?", "NWWLDNS?", "NWWLWINS?"},
                                            kMailAndServiceQueries));
    EXPECT_EQ(bench.Record().adhoc, 1);
    EXPECT_EQ(bench.Record().securityState, kStateUnknown);
}

TEST(ReadWorker, RefusedQueriesMarkTheirSettingsUnknown) {
    auto config = ProjectorAt("127.86.3.6");
    config.faults.refusedCommands = {"NWCNF", "NWDNS", "NWSMTPTO2"};
    CWorkerBench bench(config);
    bench.Record().dhcp = 0;
    EXPECT_EQ(ReadWorker(*bench.state), 1);
    const ProjectorRecord& r = bench.Record();
    EXPECT_EQ(r.dhcp, 1);
    EXPECT_EQ(r.dhcpState, kStateUnknown);
    EXPECT_EQ(r.gatewayState, kStateUnknown);
    EXPECT_EQ(r.dns1State, kStateUnknown);
    EXPECT_EQ(r.dns2State, kStateUnknown);
    EXPECT_EQ(r.mailTo2State, kStateUnknown);
    EXPECT_EQ(r.mailTo1State, kStateRead);
    EXPECT_EQ(r.wins1State, kStateRead);
}

// ---- replies that cannot be trusted ----------------------------------------------------------

// Each reply not of its command's form leaves just its settings unread (and their values as
// they were); the read goes on. A second answer in one reply is not taken, and a value that
// begins with "=" keeps it.
TEST(ReadWorker, RepliesNotOfTheirFormLeaveTheirSettingsUnread) {
    using sim::ReplyFault;
    using sim::ReplyFaultKind;
    const auto raw = [](std::string value) { return ReplyFault{ReplyFaultKind::kRawValue, 0, value}; };
    auto config = ProjectorAt("127.86.3.7");
    config.faults.replyFaults = {
        {"NWPNAME", raw("=X")},
        {"NWCNF", raw("OFF 300.1.1.1 255.255.255.0 0.0.0.0")},
        {"NWDNSDMN", raw(std::string("lab\0org", 7))},
        {"NWDNS", raw("1.2.3.4.5 10.0.0.1")},
        {"NWWINS", {ReplyFaultKind::kUnderName, 0, "NWDNS"}},
        {"NWSMTPACT", raw("ONX")},
        {"NWSMTPSRV", {ReplyFaultKind::kSecondReply, 0, "NWCNAME"}},
        {"NWSMTPPORT", raw("-1")},
        {"NWSMTPTO1", raw(std::string("ops\0@x", 7))},
        {"NWSMTPEVT1", raw("001b")},
        {"NWTRAPIP1", raw("10.0.0.1 10.0.0.2")},
        {"NWCNAME", raw(std::string("lab\0", 4))},
        {"NWPRIMIF", raw("65536")},
    };
    CWorkerBench bench(config);
    sim::ProjectorSettings settings = bench.projector.Settings();
    settings.smtpServer = {10, 9, 8, 7};
    settings.mailTo[1] = "desk@example.org";
    bench.projector.SetSettings(settings);
    ProjectorRecord& r = bench.Record();
    r.dhcp = 0;
    r.ipAddress = r.dns1 = r.trapAddress1 = {1, 1, 1, 1};
    r.smtpPort = 2525;
    CopyText(r.community, "before");
    const ProjectorRecord before = r;

    EXPECT_EQ(ReadWorker(*bench.state), 1);
    EXPECT_EQ(TextOf(r.projectorName), "=X");
    EXPECT_EQ(r.projectorNameState, kStateRead);
    EXPECT_EQ(r.smtpServer, (Octets{10, 9, 8, 7})) << "the second answer is not the value";
    EXPECT_EQ(r.smtpServerState, kStateRead);
    EXPECT_EQ(r.smtpPort, 2525) << "the next setting keeps its own answer";
    EXPECT_EQ(TextOf(r.mailTo2), "desk@example.org");
    EXPECT_EQ(r.mailTo2State, kStateRead);
    for (const std::int32_t state :
         {r.dhcpState, r.ipAddressState, r.gatewayState, r.dnsDomainState, r.dns1State,
          r.dns2State, r.wins1State, r.wins2State, r.mailNotifyState, r.smtpPortState,
          r.mailTo1State, r.mailEvents1State, r.trapAddress1State, r.communityState,
          r.primaryInterfaceState}) {
        EXPECT_EQ(state, kStateUnknown);
    }
    EXPECT_EQ(r.dhcp, 1) << "an unread address configuration counts as DHCP";
    EXPECT_EQ(r.ipAddress, before.ipAddress);
    EXPECT_EQ(r.dns1, before.dns1);
    EXPECT_EQ(r.trapAddress1, before.trapAddress1);
    EXPECT_EQ(TextOf(r.community), "before");
    EXPECT_EQ(bench.state->readProgress.settingsRead, 20 - 11);
    EXPECT_EQ(bench.state->readProgress.settingsPlanned, 20);

    // A hardware address of another form is no identity.
    for (const std::string& mac : {std::string(80, '0'), std::string("ZZ:ZZ\x1b[2J")}) {
        bench.state->link.reset();
        sim::FaultConfig faults;
        faults.replyFaults = {{"NWMAC", raw(mac)}};
        bench.projector.SetFaults(faults);
        CopyText(r.macAddress, "");
        EXPECT_EQ(ReadWorker(*bench.state), -1) << mac;
        EXPECT_EQ(TextOf(r.macAddress), "") << mac;
    }
}

// A read whose link fails is a failed read that says where it stopped, however the link fails.
TEST(ReadWorker, LinkFailingMidwayFailsTheReadAndSaysWhere) {
    using sim::ReplyFault;
    using sim::ReplyFaultKind;
    const struct {
        const char* address;
        ReplyFault fault;
    } cases[] = {
        {"127.86.3.8", {ReplyFaultKind::kCut, 6, {}}},
        {"127.86.3.9", {ReplyFaultKind::kRawValue, 0, std::string(5000, '1')}},  // over the buffer
        {"127.86.3.10", {ReplyFaultKind::kNoPrompt, 0, {}}},  // fails at its five-second deadline
    };
    for (const auto& c : cases) {
        auto config = ProjectorAt(c.address);
        config.faults.replyFaults = {{"NWSMTPSRV", c.fault}};
        CWorkerBench bench(config);
        bench.Record().communityState = kStateRead;  // from an earlier read
        EXPECT_EQ(ReadWorker(*bench.state), kReadLinkLost) << c.address;
        EXPECT_EQ(bench.Record().communityState, kStateUnknown) << "the last read failed";
        EXPECT_EQ(bench.state->readProgress.lostAt, "smtpServer");
        EXPECT_EQ(bench.state->readProgress.settingsRead, 8);
        EXPECT_EQ(bench.state->readProgress.settingsPlanned, 20);
        EXPECT_EQ(bench.state->link, nullptr);
        EXPECT_EQ(bench.TakePosted().results, (Results{{kMessageReadResult, kReadLinkLost}}));
        EXPECT_EQ(bench.LogAfterClose().back(), "NWSMTPSRV?") << "nothing is asked after the failure";
    }
}

// ---- identity and failures --------------------------------------------------------------------

TEST(ReadWorker, HardwareAddressIsComparedWithoutRegardToCase) {
    auto config = ProjectorAt("127.86.4.1");
    config.mac = "00a0b1c2d3e4";
    CWorkerBench bench(config);
    CopyText(bench.Record().macAddress, "00A0B1C2D3E4");
    bench.state->readAllSettings = 0;
    EXPECT_EQ(ReadWorker(*bench.state), 1);
    EXPECT_EQ(TextOf(bench.Record().macAddress), "00a0b1c2d3e4");
}

TEST(ReadWorker, AnotherHardwareAddressIsRefusedAndRemembered) {
    auto config = ProjectorAt("127.86.4.2");
    config.mac = "00A0B1C2D3E4";
    CWorkerBench bench(config);
    CopyText(bench.Record().macAddress, "001122334455");
    EXPECT_EQ(ReadWorker(*bench.state), -2);
    EXPECT_EQ(bench.LogAfterClose(), (Lines{"NWIF?", "NWMAC?"}));
    EXPECT_EQ(TextOf(bench.Record().macAddress), "00A0B1C2D3E4");
    EXPECT_EQ(bench.state->link, nullptr);
    const auto posted = bench.TakePosted();
    EXPECT_EQ(posted.progress, (Progress{10, 25}));
    EXPECT_EQ(posted.results, (Results{{kMessageReadResult, -2}}));
}

TEST(ReadWorker, RefusedAuthenticationGivesZero) {
    auto config = ProjectorAt("127.86.4.3");
    config.password = "right";
    CWorkerBench bench(config);
    CopyText(bench.Record().password, "wrong");
    EXPECT_EQ(ReadWorker(*bench.state), 0);
    EXPECT_TRUE(bench.LogAfterClose().empty());
    EXPECT_EQ(bench.state->link, nullptr);
    const auto posted = bench.TakePosted();
    EXPECT_EQ(posted.progress, (Progress{10}));
    EXPECT_EQ(posted.results, (Results{{kMessageReadResult, 0}}));
}

TEST(ReadWorker, FailedInterfaceQueryGivesMinusThree) {
    auto config = ProjectorAt("127.86.4.4");
    config.faults.refusedCommands = {"NWIF"};
    CWorkerBench bench(config);
    EXPECT_EQ(ReadWorker(*bench.state), -3);
    EXPECT_EQ(bench.LogAfterClose(), (Lines{"NWIF?"}));
    EXPECT_EQ(bench.state->link, nullptr);
}

TEST(ReadWorker, FailedHardwareAddressQueryGivesMinusOne) {
    auto config = ProjectorAt("127.86.4.5");
    config.faults.refusedCommands = {"NWMAC"};
    CWorkerBench bench(config);
    EXPECT_EQ(ReadWorker(*bench.state), -1);
    EXPECT_EQ(bench.LogAfterClose(), (Lines{"NWIF?", "NWMAC?"}));
    EXPECT_EQ(bench.state->link, nullptr);
}

TEST(ReadWorker, NobodyListeningGivesMinusOne) {
    CWorkerBench bench(ProjectorAt("127.86.4.6"));
    bench.projector.Stop();
    EXPECT_EQ(ReadWorker(*bench.state), -1);
    const auto posted = bench.TakePosted();
    EXPECT_TRUE(posted.progress.empty());
    EXPECT_EQ(posted.results, (Results{{kMessageReadResult, -1}}));
    EXPECT_EQ(bench.state->link, nullptr);
}

}  // namespace
}  // namespace lanterna::test
