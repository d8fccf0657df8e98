// Start, stop and concurrency of the simulated projector.

#include <atomic>
#include <thread>

#include "RawPeer.h"

namespace lanterna::sim::test {
namespace {

using Clock = std::chrono::steady_clock;

// Stopping is to take moments; the waits it must cut short last half a minute or more.
constexpr auto kPromptly = 10s;

// Waits (at most half a minute) until `done` holds.
template <typename Condition>
bool WaitUntil(Condition done) {
    const auto deadline = Clock::now() + 30s;
    while (!done()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

TEST(Lifecycle, StopEndsBlockedSessionsPromptly) {
    SimulatorConfig config = TestConfig("127.77.5.1");
    auto projector = StartProjector(config);

    RawTcp inHandshake(projector->Address(), projector->TcpPort());
    ASSERT_TRUE(inHandshake.Send(std::string_view("QVL/")));  // part of a header
    auto idle = OpenSession(*projector);
    auto waiting = OpenSession(*projector);
    FaultConfig faults;
    faults.replyDelay = 30s;
    projector->SetFaults(faults);
    ASSERT_TRUE(waiting->Send("NWIF?\r"));
    // The command is logged before its reply waits out the delay.
    ASSERT_TRUE(WaitUntil([&] { return !projector->CommandLog().empty(); }));

    const auto start = Clock::now();
    projector->Stop();
    EXPECT_LT(Clock::now() - start, kPromptly);
    EXPECT_FALSE(projector->IsRunning());
    EXPECT_TRUE(inHandshake.WaitClosed());
    EXPECT_TRUE(idle->WaitClosed());
    EXPECT_TRUE(waiting->WaitClosed());
    RawTcp late(projector->Address(), projector->TcpPort());
    EXPECT_FALSE(late.Connected()) << "the port is closed";
}

TEST(Lifecycle, StopDuringSplitRepliesAndDestructionWithoutStop) {
    SimulatorConfig config = TestConfig("127.77.5.2");
    config.faults.splitReplyPieces = 10;
    config.faults.splitDelay = 60s;
    auto projector = StartProjector(config);
    RawTcp session(projector->Address(), projector->TcpPort());
    ASSERT_TRUE(session.Send(RequestPacket(3)));
    ASSERT_FALSE(session.ReadSome().empty()) << "the first piece of the handshake reply";

    const auto start = Clock::now();
    projector.reset();  // the destructor stops
    EXPECT_LT(Clock::now() - start, kPromptly);
}

TEST(Lifecycle, StartReportsWhyItCannotListen) {
    auto first = StartProjector(TestConfig("127.77.5.3"));
    SimulatorConfig same = TestConfig("127.77.5.3");
    same.port = first->TcpPort();
    SimulatedProjector taken(same);
    std::string reason;
    EXPECT_FALSE(taken.Start(&reason));
    EXPECT_NE(reason.find("port " + std::to_string(first->TcpPort())), std::string::npos) << reason;
    EXPECT_FALSE(taken.IsRunning());

    SimulatedProjector malformed(TestConfig("127.77.5"));
    EXPECT_FALSE(malformed.Start(&reason));
    EXPECT_NE(reason.find("127.77.5"), std::string::npos) << reason;

    SimulatorConfig unwritable = TestConfig("127.77.5.4");
    unwritable.logFile = "/nonexistent-folder/sim.log";
    SimulatedProjector noLog(unwritable);
    EXPECT_FALSE(noLog.Start(&reason));
    EXPECT_NE(reason.find("log file"), std::string::npos) << reason;
}

TEST(Lifecycle, RestartKeepsSettingsAndLogs) {
    auto projector = StartProjector(TestConfig("127.77.5.5"));
    {
        auto session = OpenSession(*projector);
        EXPECT_EQ(session->Command("NWPNAME KEPT"), "\r:");
    }
    projector->Stop();
    std::string reason;
    ASSERT_TRUE(projector->Start(&reason)) << reason;
    auto session = OpenSession(*projector);
    EXPECT_EQ(session->Query("NWPNAME"), "KEPT");
    EXPECT_EQ(projector->CommandLog(), (std::vector<std::string>{"NWPNAME KEPT", "NWPNAME?"}));
}

TEST(Lifecycle, ConcurrentClientsAreServedSideBySide) {
    auto projector = StartProjector(TestConfig("127.77.5.6"));
    constexpr int kClients = 6;
    constexpr int kRounds = 40;
    std::atomic<int> failures{0};
    std::atomic<bool> done{false};

    // Another thread keeps reading and switching while the sessions run.
    std::thread observer([&] {
        while (!done) {
            projector->CommandLog();
            projector->Settings();
            FaultConfig faults = projector->Faults();
            faults.splitReplyPieces = faults.splitReplyPieces == 1 ? 2 : 1;
            faults.splitDelay = 0ms;
            projector->SetFaults(faults);
            std::this_thread::sleep_for(1ms);
        }
    });
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            auto session = OpenSession(*projector);
            for (int r = 0; r < kRounds; ++r) {
                if (session->Command("NWCNAME c" + std::to_string(c)) != "\r:" ||
                    session->Query("NWIF") != "0" || session->Query("NWDNS") != "0.0.0.0 0.0.0.0") {
                    ++failures;
                }
            }
        });
    }
    for (auto& client : clients) {
        client.join();
    }
    done = true;
    observer.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(projector->CommandLog().size(), static_cast<std::size_t>(kClients * kRounds * 3));
    EXPECT_EQ(projector->Counters().sessionsOpened, static_cast<std::size_t>(kClients));
}

TEST(Lifecycle, ConnectionsBeyondTheLimitAreClosedAtOnce) {
    SimulatorConfig config = TestConfig("127.77.5.7");
    config.maxSessions = 2;
    auto projector = StartProjector(config);
    auto first = OpenSession(*projector);
    auto second = OpenSession(*projector);

    RawTcp third(projector->Address(), projector->TcpPort());
    EXPECT_TRUE(third.WaitClosed());
    EXPECT_EQ(projector->Counters().connectionsRefused, 1U);

    first.reset();
    // Once the projector has seen the first client leave, a new one is served.
    ASSERT_TRUE(WaitUntil([&] { return projector->Counters().connectionsEnded == 1; }));
    RawTcp next(projector->Address(), projector->TcpPort());
    EXPECT_EQ(next.Connect(), std::optional<std::uint8_t>(0x20));
}

// The idle time counts silence, not age: a client that asks every 50 ms is still served after
// more than the idle time, with thirty times the gap to spare for a busy machine.
TEST(Lifecycle, SilentConnectionsEndAfterTheIdleTimeAndFreeTheirSessions) {
    SimulatorConfig config = TestConfig("127.77.5.9");
    config.maxSessions = 2;
    config.idleTimeout = 1500ms;
    auto projector = StartProjector(config);
    RawTcp silentInHandshake(projector->Address(), projector->TcpPort());
    auto silentInSession = OpenSession(*projector);
    EXPECT_TRUE(silentInHandshake.WaitClosed(15s));
    EXPECT_TRUE(silentInSession->WaitClosed(15s));
    ASSERT_TRUE(WaitUntil([&] { return projector->Counters().connectionsEnded == 2; }));

    // Both sessions are free again: two new clients are served, and one that keeps talking
    // stays as long as it likes.
    auto busy = OpenSession(*projector);
    auto other = OpenSession(*projector);
    const auto start = Clock::now();
    for (int i = 0; Clock::now() - start < 2 * config.idleTimeout; ++i) {
        std::this_thread::sleep_for(50ms);
        ASSERT_EQ(busy->Query("NWCNAME"), "public") << i;
    }
}

TEST(Lifecycle, ClientsThatLeaveAtAnyMomentDoNotHurt) {
    auto projector = StartProjector(TestConfig("127.77.5.8"));
    const Bytes connect = RequestPacket(3, {{1, 1, "pw"}});
    for (std::size_t cut = 0; cut <= connect.size(); cut += 5) {
        RawTcp client(projector->Address(), projector->TcpPort());
        ASSERT_TRUE(client.Send(
            Bytes(connect.begin(), connect.begin() + static_cast<std::ptrdiff_t>(cut))));
    }
    for (int i = 0; i < 20; ++i) {
        auto session = OpenSession(*projector);
        ASSERT_TRUE(session->Send("NWPNAME?\rNWCNF?\rNWDNS?\r"));  // leave without reading
    }
    auto last = OpenSession(*projector);
    EXPECT_EQ(last->Query("NWPNAME"), "SIMPROJ");
}

}  // namespace
}  // namespace lanterna::sim::test
