#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <memory>

#include "link/ProjectorLink.h"
#include "platform/ManualClock.h"
#include "tests/integration/link/LinkTestSupport.h"
#include "tests/support/peer/ScriptedPeer.h"

namespace lanterna {
namespace {

using namespace std::chrono_literals;

using test::AsBytes;
using test::CKeepAliveLog;
using test::CScriptedPeer;
using test::StatusReply;
using Entry = CKeepAliveLog::Entry;

// The schedule starts shortly before the tick counter wraps, so every comparison of ticks is
// made across the wrap.
constexpr Tick kStart = 0xFFFFFFFFu - 100000u;

constexpr Tick At(std::uint32_t seconds) {
    return kStart + seconds * 1000u;
}

class KeepAliveTest : public ::testing::Test {
  protected:
    KeepAliveTest()
        : link(std::make_unique<CProjectorLink>(
              LinkOptions{.clock = &clock, .keepAliveObserver = log.Observer()})) {}

    // Connects and authenticates at At(0); the peer's script must begin with the handshake.
    void Authenticate() {
        peer.Start();
        ASSERT_EQ(link->Connect(peer.Address(), peer.Port()), 1);
        ASSERT_EQ(link->Authenticate(""), 1);
        ASSERT_TRUE(clock.AwaitWaitsStarted(1, 5s)) << "the keep-alive did not start waiting";
    }

    // Moves the clock on one second at a time up to `seconds` after the authentication, each
    // time waiting until the keep-alive has looked at the new time and waits again.
    void RunUntil(std::uint32_t seconds) {
        while (TicksBetween(kStart, clock.Now()) < seconds * 1000u) {
            const std::uint64_t started = clock.WaitsStarted();
            clock.Advance(1000);
            ASSERT_TRUE(clock.AwaitWaitsStarted(started + 1, 5s))
                << "the keep-alive stopped at " << TicksBetween(kStart, clock.Now()) << " ms";
        }
    }

    std::string ReceivedAfterHandshake() { return peer.Received().substr(16); }

    CManualClock clock{kStart};
    CKeepAliveLog log;
    CScriptedPeer peer;
    std::unique_ptr<CProjectorLink> link;
};

TEST_F(KeepAliveTest, IdleLinkSendsOneBareCarriageReturnJustAfterEveryFiveMinutes) {
    peer.Expect(AsBytes(BuildConnectRequest(""))).Reply(StatusReply(0x20));
    peer.Expect("\r").Reply("\r:").Expect("\r").Reply("\r:");
    Authenticate();

    RunUntil(300);
    EXPECT_EQ(ReceivedAfterHandshake(), "") << "five minutes are not yet more than five";
    RunUntil(301);
    EXPECT_EQ(ReceivedAfterHandshake(), "\r");
    RunUntil(601);
    EXPECT_EQ(ReceivedAfterHandshake(), "\r") << "the answered keep-alive counts as activity";
    RunUntil(602);
    EXPECT_EQ(ReceivedAfterHandshake(), "\r\r");
    EXPECT_TRUE(peer.Finish());
    EXPECT_EQ(log.Entries(), (std::vector<Entry>{{KeepAliveEvent::kSucceeded, At(301)},
                                                 {KeepAliveEvent::kSucceeded, At(602)}}));
}

TEST_F(KeepAliveTest, ExchangesPostponeTheKeepAlive) {
    peer.Expect(AsBytes(BuildConnectRequest(""))).Reply(StatusReply(0x20));
    peer.ExpectLine("NWPNAME?").Reply("NWPNAME=X\r:").ExpectLine("NWIPADR?").Reply("ERR\r:");
    peer.Expect("\r").Reply("\r:");
    Authenticate();

    RunUntil(100);
    std::array<char, 16> value{};
    EXPECT_EQ(link->Exchange("NWPNAME", nullptr, value.data(), 15, true, true), 1);
    RunUntil(200);
    EXPECT_EQ(link->Exchange("NWIPADR", nullptr, value.data(), 15, true, true), 0)
        << "refused, yet the projector answered";
    RunUntil(500);
    EXPECT_EQ(ReceivedAfterHandshake(), "NWPNAME?\rNWIPADR?\r");
    RunUntil(501);
    EXPECT_EQ(ReceivedAfterHandshake(), "NWPNAME?\rNWIPADR?\r\r")
        << "no keep-alive between two exchanges";
    EXPECT_TRUE(peer.Finish());
}

TEST_F(KeepAliveTest, FailedAttemptsComeAMinuteApartAndTenIdleMinutesCloseTheLink) {
    peer.Expect(AsBytes(BuildConnectRequest(""))).Reply(StatusReply(0x20));
    peer.Expect("\r").Reply("\r:").ResetConnection();
    Authenticate();

    RunUntil(301);
    ASSERT_TRUE(peer.Finish()) << "the projector is gone from now on";
    RunUntil(901);
    const std::uint64_t started = clock.WaitsStarted();
    clock.Advance(1000);  // 902 s: more than ten minutes since the keep-alive at 301 s
    ASSERT_TRUE(log.AwaitCount(8));
    EXPECT_EQ(log.Entries(), (std::vector<Entry>{
                                 {KeepAliveEvent::kSucceeded, At(301)},
                                 {KeepAliveEvent::kFailed, At(602)},
                                 {KeepAliveEvent::kFailed, At(662)},
                                 {KeepAliveEvent::kFailed, At(722)},
                                 {KeepAliveEvent::kFailed, At(782)},
                                 {KeepAliveEvent::kFailed, At(842)},
                                 {KeepAliveEvent::kFailed, At(902)},
                                 {KeepAliveEvent::kClosedIdle, At(902)},
                             }));
    EXPECT_EQ(link->Close(), 0) << "the transport was already closed";
    EXPECT_EQ(clock.WaitsStarted(), started) << "the keep-alive ended without waiting again";
}

TEST_F(KeepAliveTest, CloseEndsAKeepAliveThatWaitsForItsReply) {
    peer.Expect(AsBytes(BuildConnectRequest(""))).Reply(StatusReply(0x20));
    peer.Expect("\r");  // and never answers
    Authenticate();
    clock.Advance(301000);
    ASSERT_TRUE(peer.AwaitReceived(17));

    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(link->Close(), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 2s)
        << "Close waited for the 5 s receive time-out";
    EXPECT_TRUE(peer.Finish());
    EXPECT_EQ(log.Entries(), (std::vector<Entry>{{KeepAliveEvent::kFailed, At(301)}}));
}

TEST_F(KeepAliveTest, DestructionEndsAnIdleKeepAliveAtOnce) {
    peer.Expect(AsBytes(BuildConnectRequest(""))).Reply(StatusReply(0x20));
    Authenticate();
    // The manual clock never moves again: only the stop event can end the keep-alive's wait.
    const auto before = std::chrono::steady_clock::now();
    link.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
    EXPECT_TRUE(peer.Finish());
    EXPECT_TRUE(log.Entries().empty());
}

}  // namespace
}  // namespace lanterna
