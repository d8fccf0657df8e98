// The address probe against simulated projectors on loopback, and its debug mode.

#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "discovery/AddressProbe.h"
#include "tests/integration/discovery/DiscoveryTestSupport.h"

namespace lanterna::test {
namespace {

AddressProbeOptions ProbeOptionsFor(std::uint16_t port) {
    return AddressProbeOptions{.debugMode = false, .port = port, .localPort = 0};
}

struct ProbeOutcome {
    int result = -9;
    ProbeAnswer answer;
    std::chrono::milliseconds elapsed{0};
};

std::future<ProbeOutcome> ProbeLater(std::string address, AddressProbeOptions options) {
    return std::async(std::launch::async, [address = std::move(address), options] {
        CAddressProbe probe(options);
        ProbeOutcome outcome;
        const Stopwatch watch;
        outcome.result = probe.Run(address, outcome.answer);
        outcome.elapsed = watch.Elapsed();
        return outcome;
    });
}

// The three network cases run side by side: each waits out the 5 s of silence.
TEST(AddressProbe, AnsweringSilentAndElsewhereAnsweringAddresses) {
    SimulatorConfig answering = TestConfig("127.93.3.1");
    answering.name = "LOBBY";
    answering.imType = 22;
    auto lobby = StartProjector(answering);

    CTestUdp silent("127.93.3.2");

    // Listens on all addresses and answers from its own: a hello to 127.0.0.1 is answered
    // from 127.93.3.3, which is not the address asked.
    SimulatorConfig elsewhere = TestConfig("127.93.3.3");
    elsewhere.receiveBroadcasts = true;
    auto other = StartProjector(elsewhere);

    auto found = ProbeLater("127.93.3.1", ProbeOptionsFor(lobby->HelloPort()));
    auto none = ProbeLater("127.93.3.2", ProbeOptionsFor(silent.LocalPort()));
    auto foreign = ProbeLater("127.0.0.1", ProbeOptionsFor(other->HelloPort()));

    const ProbeOutcome lobbyOutcome = found.get();
    EXPECT_EQ(lobbyOutcome.result, 1);
    EXPECT_EQ(TextOf(lobbyOutcome.answer.name), "LOBBY");
    EXPECT_EQ(lobbyOutcome.answer.imType, 22);
    EXPECT_GE(lobbyOutcome.elapsed, 4900ms) << "collects until 5 s pass without an answer";

    const ProbeOutcome silentOutcome = none.get();
    EXPECT_EQ(silentOutcome.result, 0);
    EXPECT_EQ(TextOf(silentOutcome.answer.name), "");
    EXPECT_TRUE(silent.Receive(0ms)) << "the hello reached the silent address";

    const ProbeOutcome foreignOutcome = foreign.get();
    EXPECT_EQ(foreignOutcome.result, 0) << "an answer from another address text is none";
    EXPECT_EQ(other->Counters().helloAnswered, 1U);
}

TEST(AddressProbe, DebugModeWaitsThreeSecondsAndSendsNothing) {
    auto projector = StartProjector(TestConfig("127.93.3.11"));
    AddressProbeOptions options = ProbeOptionsFor(projector->HelloPort());
    options.debugMode = true;
    const ProbeOutcome outcome = ProbeLater("127.93.3.11", options).get();
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(TextOf(outcome.answer.name), "projname");
    EXPECT_EQ(outcome.answer.imType, 0);
    EXPECT_GE(outcome.elapsed, 2900ms);
    EXPECT_EQ(projector->Counters().helloAnswered, 0U);
}

TEST(AddressProbe, CancelEndsTheWaitInEitherMode) {
    auto projector = StartProjector(TestConfig("127.93.3.21"));
    for (const bool debugMode : {false, true}) {
        AddressProbeOptions options = ProbeOptionsFor(projector->HelloPort());
        options.debugMode = debugMode;
        CAddressProbe probe(options);
        ProbeAnswer answer;
        auto run = std::async(std::launch::async, [&] { return probe.Run("127.93.3.21", answer); });
        std::this_thread::sleep_for(300ms);
        const Stopwatch watch;
        probe.Cancel();
        const int result = run.get();
        EXPECT_LT(watch.Elapsed(), 1500ms) << "debug mode " << debugMode;
        if (debugMode) {
            EXPECT_EQ(result, 0);
        } else {
            EXPECT_EQ(result, 1) << "the answer that came before the cancel counts";
            EXPECT_EQ(TextOf(answer.name), "SIMPROJ");
        }
    }
}

TEST(AddressProbe, EmptyAddressIsNeverABroadcast) {
    CAddressProbe probe(ProbeOptionsFor(9));
    ProbeAnswer answer;
    const Stopwatch watch;
    EXPECT_EQ(probe.Run("", answer), 0);
    EXPECT_LT(watch.Elapsed(), 1000ms);
}

}  // namespace
}  // namespace lanterna::test
