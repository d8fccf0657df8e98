#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstring>

#include "link/ProjectorLink.h"
#include "platform/ManualClock.h"
#include "tests/integration/link/LinkTestSupport.h"
#include "tests/support/peer/ScriptedPeer.h"

namespace lanterna {
namespace {

using namespace std::chrono_literals;

using test::AsBytes;
using test::CScriptedPeer;
using test::StatusReply;

// Every link here runs on a manual clock that never moves, so no keep-alive can interfere;
// the clock's wait count tells whether a keep-alive was started at all.
class ProjectorLinkTest : public ::testing::Test {
  protected:
    void Open() {
        peer.Start();
        ASSERT_EQ(link.Connect(peer.Address(), peer.Port()), 1);
    }

    // Closes the link (which ends its keep-alive) and tells whether a keep-alive ever ran.
    bool KeepAliveRan() {
        link.Close();
        return clock.WaitsStarted() > 0;
    }

    CManualClock clock;
    CScriptedPeer peer;
    CProjectorLink link{LinkOptions{.clock = &clock}};
};

// ---- connect --------------------------------------------------------------------------------

TEST(ProjectorLinkConnect, RefusedOrUnresolvableGivesZero) {
    CProjectorLink link;
    EXPECT_EQ(link.Connect("127.0.0.1", test::PortWithNothingListening()), 0);
    EXPECT_EQ(link.Connect(test::UnresolvableHostName(), kProjectorPort), 0);
    EXPECT_EQ(link.Close(), 0) << "nothing to close";
}

TEST_F(ProjectorLinkTest, CloseReportsWhetherAConnectionWasOpen) {
    Open();
    EXPECT_EQ(link.Close(), 1);
    EXPECT_EQ(link.Close(), 0);
    EXPECT_TRUE(peer.Finish());
}

// ---- password probe -------------------------------------------------------------------------

TEST_F(ProjectorLinkTest, ProbeSaysNoPasswordNeeded) {
    peer.Expect(AsBytes(BuildPasswordProbeRequest()))
        .Reply(StatusReply(0x20, PacketType::kPassword));
    Open();
    EXPECT_EQ(link.QueryPasswordRequired(), 0);
    EXPECT_TRUE(peer.Finish());
    EXPECT_FALSE(KeepAliveRan());
}

TEST_F(ProjectorLinkTest, ProbeStatus41MeansPasswordRequiredAndReplyMayComeInPieces) {
    const std::string reply = StatusReply(0x41, PacketType::kPassword);
    peer.Expect(AsBytes(BuildPasswordProbeRequest()))
        .Reply(reply.substr(0, 7))
        .AwaitRead()
        .Reply(reply.substr(7));
    Open();
    EXPECT_EQ(link.QueryPasswordRequired(), 1);
    EXPECT_TRUE(peer.Finish());
}

TEST_F(ProjectorLinkTest, ProbeWithOtherStatusFails) {
    peer.Expect(AsBytes(BuildPasswordProbeRequest())).Reply(StatusReply(0x40));
    Open();
    EXPECT_EQ(link.QueryPasswordRequired(), -1);
    EXPECT_TRUE(peer.Finish());
}

TEST_F(ProjectorLinkTest, ShortPacketReplyBeforeCloseFails) {
    peer.Expect(AsBytes(BuildPasswordProbeRequest()))
        .Reply(StatusReply(0x20).substr(0, 15))
        .CloseConnection();
    Open();
    EXPECT_EQ(link.QueryPasswordRequired(), -1);
    EXPECT_TRUE(peer.Finish());
}

// ---- authentication -------------------------------------------------------------------------

TEST_F(ProjectorLinkTest, EmptyPasswordSendsTheBareRequestAndStartsTheKeepAlive) {
    peer.Expect(AsBytes(BuildConnectRequest(""))).Reply(StatusReply(0x20));
    Open();
    EXPECT_EQ(link.Authenticate(""), 1);
    EXPECT_TRUE(peer.Finish());
    EXPECT_EQ(peer.Received().size(), 16u);
    EXPECT_TRUE(KeepAliveRan());
}

TEST_F(ProjectorLinkTest, SixteenBytePasswordFillsTheField) {
    std::string request = AsBytes(BuildConnectRequest(""));
    request[15] = 1;
    request += std::string("\x01\x01", 2) + "0123456789ABCDEF";
    peer.Expect(request).Reply(StatusReply(0x41));
    Open();
    EXPECT_EQ(link.Authenticate("0123456789ABCDEF"), -3) << "0x41 to a connect request";
    EXPECT_TRUE(peer.Finish());
    EXPECT_FALSE(KeepAliveRan()) << "only an accepted authentication starts it";
}

TEST_F(ProjectorLinkTest, LongerPasswordIsCutAndUnknownStatusFails) {
    std::string request = AsBytes(BuildConnectRequest(""));
    request[15] = 1;
    request += std::string("\x01\x01", 2) + "0123456789ABCDEF";
    peer.Expect(request).Reply(StatusReply(0x99));
    Open();
    EXPECT_EQ(link.Authenticate("0123456789ABCDEFGHIJ"), -1);
    EXPECT_TRUE(peer.Finish());
}

TEST_F(ProjectorLinkTest, AuthenticationStatusesMapThroughTheTable) {
    peer.Expect(AsBytes(BuildConnectRequest("pw"))).Reply(StatusReply(0x55));
    Open();
    EXPECT_EQ(link.Authenticate("pw"), -7);
    EXPECT_TRUE(peer.Finish());
}

// ---- password change ------------------------------------------------------------------------

TEST_F(ProjectorLinkTest, PasswordChangeSendsBothPasswordsAndStartsNoKeepAlive) {
    peer.Expect(AsBytes(BuildPasswordChangeRequest("old", "new")))
        .Reply(StatusReply(0x20, PacketType::kPassword));
    Open();
    EXPECT_EQ(link.ChangePassword("old", "new"), 1);
    EXPECT_TRUE(peer.Finish());
    EXPECT_EQ(peer.Received().size(), 52u);
    EXPECT_FALSE(KeepAliveRan());
}

TEST_F(ProjectorLinkTest, RefusedPasswordChangeGivesItsStatusResult) {
    peer.Expect(AsBytes(BuildPasswordChangeRequest("old", "new"))).Reply(StatusReply(0x43));
    Open();
    EXPECT_EQ(link.ChangePassword("old", "new"), -4);
    EXPECT_TRUE(peer.Finish());
}

TEST(ProjectorLinkPackets, PacketOnClosedLinkFails) {
    CProjectorLink link;
    EXPECT_EQ(link.QueryPasswordRequired(), -1);
    EXPECT_EQ(link.Authenticate("pw"), -1);
    EXPECT_EQ(link.ChangePassword("a", "b"), -1);
}

// ---- text exchange --------------------------------------------------------------------------

TEST_F(ProjectorLinkTest, QueryYieldsTheValue) {
    peer.ExpectLine("NWPNAME?").Reply("NWPNAME=ROOM-12\r:");
    Open();
    std::array<char, 16> name{};
    EXPECT_EQ(link.Exchange("NWPNAME", nullptr, name.data(), 15, true, true), 1);
    EXPECT_STREQ(name.data(), "ROOM-12");
    EXPECT_TRUE(peer.Finish());
}

TEST_F(ProjectorLinkTest, SetCommandsSucceedUnlessTheReplyBeginsWithErr) {
    peer.ExpectLine("NWPNAME ROOM-12")
        .Reply("\r:")
        .ExpectLine("NWDNSDMN")
        .Reply("ERR\r:")
        .ExpectLine("NWWLCNF 4 ESSID ")
        .Reply("OK\r:");
    Open();
    EXPECT_EQ(link.Exchange("NWPNAME", "ROOM-12", nullptr, 0, false, true), 1);
    EXPECT_EQ(link.Exchange("NWDNSDMN", " ", nullptr, 0, false, true), 0);
    EXPECT_EQ(link.Exchange("NWWLCNF", "4 ESSID ", nullptr, 0, false, false), 1);
    EXPECT_TRUE(peer.Finish());
}

TEST_F(ProjectorLinkTest, QueryTakesEverythingAfterTheEqualsThatFollowsTheName) {
    peer.ExpectLine("NWSMTPTO?").Reply("NWSMTPTO=a=b\r:");
    Open();
    std::array<char, 65> value{};
    EXPECT_EQ(link.Exchange("NWSMTPTO", "", value.data(), 64, true, true), 1);
    EXPECT_STREQ(value.data(), "a=b");
    EXPECT_TRUE(peer.Finish());
}

// A refusal, an answer to another command and a failed exchange are three things; after a
// second answer in one buffer, or a reply too long for the buffer, the next exchange still gets
// its own reply.
TEST_F(ProjectorLinkTest, ConverseTellsTheOutcomesApartAndTheLinkStaysInStep) {
    peer.ExpectLine("NWSMTPSRV?")
        .Reply("NWSMTPPORT=10.0.0.1\r:")
        .ExpectLine("NWSMTPSRV?")
        .Reply("NWSMTPSRV=10.0.0.2\r:NWSMTPPORT=2525\r:")
        .ExpectLine("NWSMTPPORT?")
        .Reply("ERR\r:")
        .ExpectLine("NWPNAME?")
        .Reply(std::string(5000, 'A') + "\r:")
        .ExpectLine("NWPNAME?")
        .Reply("NWPNAME=ROOM-201\r:")
        .ExpectLine("NWDNSDMN")
        .Reply("ERR\r:");
    Open();
    const auto ask = [this](std::string_view name) {
        const ExchangeReply reply = link.Converse(name, "", true, true);
        return std::pair(reply.outcome, reply.value);
    };
    EXPECT_EQ(ask("NWSMTPSRV"), std::pair(ExchangeOutcome::kStray, std::string()));
    EXPECT_EQ(ask("NWSMTPSRV"), std::pair(ExchangeOutcome::kAnswered, std::string("10.0.0.2")));
    EXPECT_EQ(ask("NWSMTPPORT"), std::pair(ExchangeOutcome::kRefused, std::string()));
    EXPECT_EQ(ask("NWPNAME"), std::pair(ExchangeOutcome::kFailed, std::string()));
    EXPECT_EQ(ask("NWPNAME"), std::pair(ExchangeOutcome::kAnswered, std::string("ROOM-201")));
    EXPECT_EQ(link.Converse("NWDNSDMN", "", false, true).outcome, ExchangeOutcome::kRefused);
    EXPECT_EQ(link.Converse("NWPNAME", "A\x1b", false, true).outcome, ExchangeOutcome::kNotSent);
    EXPECT_TRUE(peer.Finish());
}

TEST_F(ProjectorLinkTest, FailedQueriesLeaveTheValueUnchanged) {
    peer.ExpectLine("NWPNAME?")
        .Reply("NWPNAME=ROOM:")
        .ExpectLine("NWIPADR?")
        .Reply("ERR\r:")
        .ExpectLine("NWMASK?")
        .Reply(std::string(5000, 'A') + "\r:");
    Open();
    std::array<char, 16> value{'k', 'e', 'p', 't'};
    EXPECT_EQ(link.Exchange("NWPNAME", nullptr, value.data(), 15, true, true), 0)
        << "no carriage return";
    EXPECT_EQ(link.Exchange("NWIPADR", nullptr, value.data(), 15, true, true), 0);
    EXPECT_EQ(link.Exchange("NWMASK", nullptr, value.data(), 15, true, true), 0)
        << "a reply longer than the buffer is left unread and has no value";
    EXPECT_STREQ(value.data(), "kept");
    EXPECT_TRUE(peer.Finish());
}

TEST_F(ProjectorLinkTest, UnansweredCommandFailsAfterTheFiveSecondTimeout) {
    peer.ExpectLine("NWPNAME?").Reply("NWPNAME=RO");
    Open();
    std::array<char, 16> value{};
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(link.Exchange("NWPNAME", nullptr, value.data(), 15, true, true), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - before, 4500ms);
    EXPECT_TRUE(peer.Finish());
}

TEST_F(ProjectorLinkTest, SendCommandDoesNotWaitForAReply) {
    peer.ExpectLine("IMSTAT 31").ExpectLine("NWRESET");
    Open();
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(link.SendCommand("IMSTAT", "31 ", false), 1) << "trimmed";
    EXPECT_EQ(link.SendCommand("NWRESET", nullptr, false), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
    EXPECT_TRUE(peer.Finish());
}

TEST_F(ProjectorLinkTest, CommandsOnAClosedLinkFail) {
    Open();
    link.Close();
    std::array<char, 16> value{};
    EXPECT_EQ(link.Exchange("NWPNAME", nullptr, value.data(), 15, true, true), 0);
    EXPECT_EQ(link.SendCommand("NWRESET", nullptr, false), 0);
    EXPECT_TRUE(peer.Finish());
}

TEST_F(ProjectorLinkTest, ThinEndToEndRun) {
    peer.Expect(AsBytes(BuildConnectRequest("")))
        .Reply(StatusReply(0x20))
        .ExpectLine("NWPNAME?")
        .Reply("NWPNAME=ROOM-12\r:")
        .ExpectLine("NWPNAME HALL")
        .Reply("\r:");
    Open();
    ASSERT_EQ(link.Authenticate(""), 1);
    std::array<char, 16> name{};
    EXPECT_EQ(link.Exchange("NWPNAME", nullptr, name.data(), 15, true, true), 1);
    EXPECT_STREQ(name.data(), "ROOM-12");
    EXPECT_EQ(link.Exchange("NWPNAME", "HALL", nullptr, 0, false, true), 1);
    EXPECT_EQ(link.Close(), 1);
    EXPECT_TRUE(peer.Finish());
}

}  // namespace
}  // namespace lanterna
