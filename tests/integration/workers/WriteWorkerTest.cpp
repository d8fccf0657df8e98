// The write worker against simulated projectors: which set commands go out, in which order,
// with which arguments, and what a refusal does.

#include "WorkerHarness.h"
#include "resources/StringIds.h"

namespace lanterna::test {
namespace {

using Progress = std::vector<std::intptr_t>;
using Results = std::vector<PostedMessage>;
using Shown = std::vector<CScriptedMessages::Shown>;

const Progress kStaticAddressProgress = {10, 10, 10, 10, 10, 10, 10, 10, 10, 10};
const Progress kDhcpProgress = {10, 10, 10, 10, 10, 40, 10};

// ---- what is due ------------------------------------------------------------------------------

TEST(WriteWorker, OnlyTheNameChangedSendsNameAddressAndStatus) {
    CWorkerBench bench(ProjectorAt("127.86.5.1"));
    bench.ReadAll();
    CopyText(bench.Record().projectorName, "NEW-NAME");
    bench.Record().projectorNameState = kStateChanged;

    EXPECT_EQ(WriteWorker(*bench.state), 1);
    EXPECT_NE(bench.state->link, nullptr);  // stays open until CloseLink
    EXPECT_EQ(bench.LogAfterClose(),
              (Lines{"NWPNAME NEW-NAME", "NWCNF OFF 127.86.5.1 255.255.255.0 127.86.5.254",
                     "IMSTAT 31"}));
    const auto posted = bench.TakePosted();
    EXPECT_EQ(posted.progress, kStaticAddressProgress);
    EXPECT_EQ(posted.results, (Results{{kMessageWriteResult, 1}}));
    EXPECT_EQ(bench.state->writeErrors, 0U);
    EXPECT_EQ(bench.projector.Settings().name, "NEW-NAME");
    EXPECT_EQ(bench.Record().projectorNameState, kStateChanged);  // states are left as they are
    EXPECT_TRUE(bench.messages.shown.empty());
}

TEST(WriteWorker, NameOnTheExtendedWirelessModuleEndsWithReset) {
    auto config = ProjectorAt("127.86.5.2");
    config.wireless = true;
    config.imType = 22;
    CWorkerBench bench(config);
    bench.ReadAll();
    CopyText(bench.Record().projectorName, "HALL-2");
    bench.Record().projectorNameState = kStateChanged;

    EXPECT_EQ(WriteWorker(*bench.state), 1);
    EXPECT_EQ(
        bench.LogAfterClose(),
        (Lines{"NWPNAME HALL-2", "NWWLCNFS OFF 127.86.5.2 255.255.255.0 127.86.5.1 02 PROJ-LAN",
               "IMSTAT 31", "NWRESET"}));
    EXPECT_EQ(bench.projector.Counters().resets, 1U);
}

TEST(WriteWorker, NameWithoutWinsStateSendsNoStatusRequest) {
    auto config = ProjectorAt("127.86.5.3");
    config.faults.refusedCommands = {"NWWINS"};
    CWorkerBench bench(config);
    bench.ReadAll();
    ASSERT_EQ(bench.Record().wins1State, kStateUnknown);
    bench.Record().projectorNameState = kStateChanged;
    EXPECT_EQ(WriteWorker(*bench.state), 1);
    EXPECT_EQ(bench.LogAfterClose(),
              (Lines{"NWPNAME SIMPROJ", "NWCNF OFF 127.86.5.3 255.255.255.0 127.86.5.1"}));
}

TEST(WriteWorker, NothingDueSendsNothingAndSucceeds) {
    CWorkerBench bench(ProjectorAt("127.86.5.4"));
    bench.state->readAllSettings = 0;  // identity only: every state stays 0
    ASSERT_EQ(ReadWorker(*bench.state), 1);
    bench.projector.ClearCommandLog();
    bench.window.TakeAll();
    bench.Record().writeAll = 1;
    EXPECT_EQ(WriteWorker(*bench.state), 1);
    EXPECT_TRUE(bench.LogAfterClose().empty());
    EXPECT_EQ(bench.TakePosted().ProgressTotal(), 100);
}

TEST(WriteWorker, WriteAllSendsEveryReadSettingInOrder) {
    CWorkerBench bench(ProjectorAt("127.86.5.5"));
    bench.ReadAll();
    ProjectorRecord& r = bench.Record();
    r.writeAll = 1;
    r.mailNotify = 1;
    r.smtpServer = {10, 1, 1, 1};
    CopyText(r.mailTo1, "ops@example.org");
    r.mailEvents1 = 0x7ff;
    bench.messages.answers = {kAnswerYes};

    EXPECT_EQ(WriteWorker(*bench.state), 1);
    EXPECT_EQ(bench.LogAfterClose(), (Lines{"NWSMTPACT ON",
                                            "NWSMTPSRV 10.1.1.1",
                                            "NWSMTPPORT 25",
                                            "NWSMTPTO1 ops@example.org",
                                            "NWSMTPTO2",
                                            "NWSMTPTO3",
                                            "NWSMTPEVT1 001b 007f",
                                            "NWSMTPEVT2 0000 0000",
                                            "NWSMTPEVT3 0000 0000",
                                            "NWSMTPTEST",
                                            "NWTRAPIP1 0.0.0.0",
                                            "NWTRAPIP2 0.0.0.0",
                                            "NWCNAME public",
                                            "NWPRIMIF 0",
                                            "NWPNAME SIMPROJ",
                                            "NWDNSDMN",
                                            "NWDNS 0.0.0.0 0.0.0.0",
                                            "NWWINS 0.0.0.0 0.0.0.0",
                                            "NWCNF OFF 127.86.5.5 255.255.255.0 127.86.5.1",
                                            "IMSTAT 31"}));
    EXPECT_EQ(bench.messages.shown, (Shown{{kStringSendTestMailQuestion, kMessageYesNoQuestion},
                                           {kStringTestMailSent, kMessageInformation}}));
    EXPECT_EQ(bench.projector.Counters().testMails, 1U);
    EXPECT_EQ(bench.TakePosted().progress, kStaticAddressProgress);
}

TEST(WriteWorker, DhcpOnNeverSendsDomainDnsOrWins) {
    CWorkerBench bench(ProjectorAt("127.86.5.6"));
    bench.ReadAll();
    ProjectorRecord& r = bench.Record();
    r.dhcp = 1;
    r.dhcpState = kStateChanged;
    CopyText(r.dnsDomain, "example.org");
    r.dnsDomainState = r.dns1State = r.wins2State = kStateChanged;

    EXPECT_EQ(WriteWorker(*bench.state), 1);
    EXPECT_EQ(bench.LogAfterClose(), (Lines{"NWCNF ON 0.0.0.0 0.0.0.0 0.0.0.0"}));
    const auto posted = bench.TakePosted();
    EXPECT_EQ(posted.progress, kDhcpProgress);
    EXPECT_EQ(posted.ProgressTotal(), 100);
    EXPECT_TRUE(bench.projector.Settings().wired.dhcp);
}

TEST(WriteWorker, DnsPairAndClearedDomainTravelAsOneCommandEach) {
    CWorkerBench bench(ProjectorAt("127.86.5.7"));
    bench.ReadAll();
    ProjectorRecord& r = bench.Record();
    r.dns2 = {8, 8, 4, 4};
    r.dns2State = kStateChanged;
    r.dns1State = kStateUnchanged;
    CopyText(r.dnsDomain, "");
    r.dnsDomainState = kStateChanged;
    EXPECT_EQ(WriteWorker(*bench.state), 1);
    EXPECT_EQ(bench.LogAfterClose(), (Lines{"NWDNSDMN", "NWDNS 0.0.0.0 8.8.4.4"}));
}

// ---- wireless ---------------------------------------------------------------------------------

TEST(WriteWorker, ExtendedModuleSendsSecurityAndWepKeys) {
    auto config = ProjectorAt("127.86.6.1");
    config.wireless = true;
    config.imType = 22;
    CWorkerBench bench(config);
    bench.ReadAll();
    ProjectorRecord& r = bench.Record();
    r.security = {1, 1, 0, 0};
    r.securityState = kStateChanged;
    r.wepKeyId = 2;
    r.wepKeyIdState = kStateChanged;
    CopyText(r.wepKey1, "abcde");
    r.wepKey1State = kStateChanged;
    CopyText(r.wepKey2, "");
    r.wepKey2State = kStateChanged;
    CopyText(r.wepKey3, "0a0b0c0d0e");
    r.wepKey3State = kStateUnchanged;

    EXPECT_EQ(WriteWorker(*bench.state), 1);
    EXPECT_EQ(bench.LogAfterClose(), (Lines{"NWWLSEC 110000", "NWWEPID 2", "NWWEP1 6162636465",
                                            "NWWEP2 INIT", "NWRESET"}));
    const auto settings = bench.projector.Settings();
    EXPECT_EQ(settings.security, "110000");
    EXPECT_EQ(settings.wepKeyId, 2);
    EXPECT_EQ(settings.wepKeys[0], "6162636465");
}

TEST(WriteWorker, ChangedAdhocSendsTheSecurityCode) {
    auto config = ProjectorAt("127.86.6.2");
    config.wireless = true;
    config.imType = 22;
    CWorkerBench bench(config);
    bench.ReadAll();
    ProjectorRecord& r = bench.Record();
    r.adhocState = kStateChanged;  // back to infrastructure: the security must follow
    EXPECT_EQ(WriteWorker(*bench.state), 1);
    EXPECT_EQ(bench.LogAfterClose(),
              (Lines{"NWWLCNFS OFF 127.86.6.2 255.255.255.0 127.86.6.1 02 PROJ-LAN",
                     "NWWLSEC 000000", "NWRESET"}));
}

TEST(WriteWorker, BasicModuleSendsTheKeyInsideTheAddressLine) {
    auto config = ProjectorAt("127.86.6.3");
    config.wireless = true;
    CWorkerBench bench(config);
    bench.ReadAll();
    ProjectorRecord& r = bench.Record();
    r.wepEnabled = 1;
    CopyText(r.wepKey, "abcde");
    r.wepEnabledState = r.wepKeyState = kStateChanged;
    EXPECT_EQ(WriteWorker(*bench.state), 1);
    EXPECT_EQ(bench.LogAfterClose(),
              (Lines{"NWWLCNF OFF 127.86.6.3 255.255.255.0 127.86.6.1 6 PROJ-LAN 6162636465"}));
    EXPECT_EQ(bench.projector.Settings().wepKey, "6162636465");
}

TEST(WriteWorker, BasicModuleEssidWithoutKeyKeepsTheSpace) {
    auto config = ProjectorAt("127.86.6.4");
    config.wireless = true;
    CWorkerBench bench(config);
    bench.ReadAll();
    ProjectorRecord& r = bench.Record();
    CopyText(r.essid, "NEW-NET");
    r.essidState = kStateChanged;
    EXPECT_EQ(WriteWorker(*bench.state), 1);
    EXPECT_EQ(bench.LogAfterClose(),
              (Lines{"NWWLCNF OFF 127.86.6.4 255.255.255.0 127.86.6.1 4 NEW-NET "}));
}

// ---- refusals ---------------------------------------------------------------------------------

TEST(WriteWorker, RefusedCommandsSetTheirBitsAndLaterOnesStillGo) {
    CWorkerBench bench(ProjectorAt("127.86.7.1"));
    bench.ReadAll();
    auto faults = bench.projector.Faults();
    faults.refusedCommands = {"NWSMTPSRV", "NWTRAPIP1", "NWCNF"};
    bench.projector.SetFaults(faults);
    ProjectorRecord& r = bench.Record();
    r.mailNotify = 1;
    r.mailNotifyState = r.smtpServerState = r.smtpPortState = kStateChanged;
    r.smtpServer = {10, 1, 1, 1};
    r.smtpPort = 587;
    r.trapAddress1State = r.communityState = r.gatewayState = kStateChanged;
    CopyText(r.community, "ops");
    r.gateway = {127, 86, 7, 2};

    EXPECT_EQ(WriteWorker(*bench.state), -1);
    EXPECT_EQ(bench.LogAfterClose(),
              (Lines{"NWSMTPACT ON", "NWSMTPSRV 10.1.1.1", "NWSMTPPORT 587", "NWTRAPIP1 0.0.0.0",
                     "NWCNAME ops", "NWCNF OFF 127.86.7.1 255.255.255.0 127.86.7.2"}));
    EXPECT_EQ(bench.state->writeErrors,
              kWriteErrorSmtpServer | kWriteErrorTrapAddress1 | kWriteErrorAddressConfig);
    // The question came (answered No: no test mail).
    EXPECT_EQ(bench.messages.shown, (Shown{{kStringSendTestMailQuestion, kMessageYesNoQuestion}}));
    EXPECT_EQ(bench.TakePosted().results, (Results{{kMessageWriteResult, -1}}));
    EXPECT_EQ(bench.projector.Settings().smtpPort, 587);
    EXPECT_EQ(bench.projector.Settings().community, "ops");
}

TEST(WriteWorker, RefusedTestMailIsReportedButIsNoWriteError) {
    CWorkerBench bench(ProjectorAt("127.86.7.2"));
    bench.ReadAll();
    ProjectorRecord& r = bench.Record();
    r.mailNotify = 1;  // but no server and no first recipient: the projector refuses the mail
    CopyText(r.mailTo2, "desk@example.org");
    r.mailNotifyState = r.mailTo2State = kStateChanged;
    bench.messages.answers = {kAnswerYes};
    EXPECT_EQ(WriteWorker(*bench.state), 1);
    EXPECT_EQ(bench.LogAfterClose(),
              (Lines{"NWSMTPACT ON", "NWSMTPTO2 desk@example.org", "NWSMTPTEST"}));
    EXPECT_EQ(bench.messages.shown, (Shown{{kStringSendTestMailQuestion, kMessageYesNoQuestion},
                                           {kStringTestMailFailed, kMessageWarning}}));
}

TEST(WriteWorker, MailOffSendsOnlyTheSwitch) {
    CWorkerBench bench(ProjectorAt("127.86.7.3"));
    bench.ReadAll();
    ProjectorRecord& r = bench.Record();
    r.mailNotify = 0;
    r.mailNotifyState = r.smtpServerState = r.mailTo1State = kStateChanged;
    EXPECT_EQ(WriteWorker(*bench.state), 1);
    EXPECT_EQ(bench.LogAfterClose(), (Lines{"NWSMTPACT OFF"}));
    EXPECT_TRUE(bench.messages.shown.empty());
}

// A module that received nothing is not reset: the reset would only cut its connections.
TEST(WriteWorker, UnconvertibleWepKeyIsRefusedWithoutSendingOrReset) {
    auto config = ProjectorAt("127.86.7.4");
    config.wireless = true;
    config.imType = 22;
    CWorkerBench bench(config);
    bench.ReadAll();
    ProjectorRecord& r = bench.Record();
    r.security = {1, 1, 0, 0};
    CopyText(r.wepKey1, "bad key!");
    r.wepKey1State = kStateChanged;
    EXPECT_EQ(WriteWorker(*bench.state), -1);
    EXPECT_EQ(bench.state->writeErrors, kWriteErrorAddressConfig);
    EXPECT_TRUE(bench.LogAfterClose().empty());
    EXPECT_EQ(bench.projector.Counters().resets, 0U);
}

TEST(WriteWorker, NoOpenLinkGivesZero) {
    CWorkerBench bench(ProjectorAt("127.86.7.5"));
    bench.Record().projectorNameState = kStateChanged;
    EXPECT_EQ(WriteWorker(*bench.state), 0);
    EXPECT_TRUE(bench.LogAfterClose().empty());
    EXPECT_EQ(bench.TakePosted().results, (Results{{kMessageWriteResult, 0}}));
}

// ---- a broken write is told as it is ------------------------------------------------------------

TEST(WriteWorker, LinkLostPartWayListsAcceptedUnansweredAndUnsentCommands) {
    CWorkerBench bench(ProjectorAt("127.86.7.7"));
    bench.ReadAll();
    sim::FaultConfig faults;
    faults.dropAfterSets = 3;
    bench.projector.SetFaults(faults);
    ProjectorRecord& r = bench.Record();
    r.mailNotify = 1;
    r.smtpServer = {10, 1, 1, 1};
    CopyText(r.mailTo1, "ops@example.org");
    r.mailNotifyState = r.smtpServerState = r.smtpPortState = r.mailTo1State = kStateChanged;
    r.trapAddress1State = r.communityState = kStateChanged;
    bench.messages.answers = {kAnswerYes};

    EXPECT_EQ(WriteWorker(*bench.state), kWriteLinkLost);
    EXPECT_EQ(bench.LogAfterClose(), (Lines{"NWSMTPACT ON", "NWSMTPSRV 10.1.1.1", "NWSMTPPORT 25"}));
    const WriteProgress& progress = bench.state->writeProgress;
    EXPECT_EQ(progress.accepted, (Lines{"NWSMTPACT", "NWSMTPSRV", "NWSMTPPORT"}));
    EXPECT_EQ(progress.unanswered, (Lines{"NWSMTPTO1"}));
    EXPECT_EQ(progress.notSent, (Lines{"NWTRAPIP1", "NWCNAME"}));
    EXPECT_TRUE(progress.refused.empty());
    EXPECT_EQ(bench.state->writeErrors,
              kWriteErrorMailTo1 | kWriteErrorTrapAddress1 | kWriteErrorCommunity);
    EXPECT_TRUE(bench.messages.shown.empty()) << "no test mail over a lost link";
    EXPECT_EQ(bench.TakePosted().results, (Results{{kMessageWriteResult, kWriteLinkLost}}));
}

}  // namespace
}  // namespace lanterna::test
