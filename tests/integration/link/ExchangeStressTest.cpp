#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <string>

#include "link/ProjectorLink.h"
#include "platform/ManualClock.h"
#include "tests/integration/link/LinkTestSupport.h"
#include "tests/support/peer/ScriptedPeer.h"

namespace lanterna {
namespace {

using test::AsBytes;
using test::CScriptedPeer;
using test::StatusReply;

constexpr int kRounds = 400;
// The keep-alive thread may be scheduled late on a busy machine: the worker goes on past
// kRounds until a few keep-alives fell among its rounds, bounded in count and time.
constexpr int kMaxRounds = 20000;
constexpr int kWantedKeepAlives = 3;
constexpr auto kTimeLimit = std::chrono::seconds(20);

// A worker exchanges many commands while the keep-alive, on a clock that jumps more than five
// minutes at every reading, tries to send a bare carriage return at every check. The peer
// answers line by line and reports any line that is not a whole command or a bare carriage
// return, and any bytes sent while a reply was due; the worker checks that every reply it reads
// is the answer to its own command.
TEST(ExchangeStress, KeepAliveNeverFallsBetweenACommandAndItsReply) {
    std::atomic<int> keepAlives{0};
    int queries = 0;
    CScriptedPeer peer;
    peer.Expect(AsBytes(BuildConnectRequest(""))).Reply(StatusReply(0x20));
    peer.Serve([&](std::string_view line) -> std::optional<std::string> {
        if (line.empty()) {
            ++keepAlives;
            return "\r:";
        }
        if (line == "NWPNAME?") {
            return "NWPNAME=N" + std::to_string(++queries) + "\r:";
        }
        if (line.starts_with("NWSET ")) {
            return "\r:";
        }
        if (line == "IMSTAT 31") {
            return std::nullopt;  // sent without reading a reply
        }
        ADD_FAILURE() << "a broken line reached the projector: \"" << test::Printable(line) << "\"";
        return "ERR\r:";
    });
    peer.Start();

    CManualClock clock;
    CProjectorLink link(LinkOptions{.clock = &clock});
    ASSERT_EQ(link.Connect(peer.Address(), peer.Port()), 1);
    ASSERT_EQ(link.Authenticate(""), 1);
    clock.SetAutomaticStep(310000);
    clock.Advance(1000);  // wakes the keep-alive from its first wait; later ones end at once

    int expectedQuery = 0;
    const auto deadline = std::chrono::steady_clock::now() + kTimeLimit;
    int round = 0;
    for (; round < kMaxRounds; ++round) {
        if (round >= kRounds && (keepAlives.load() >= kWantedKeepAlives ||
                                 std::chrono::steady_clock::now() > deadline)) {
            break;
        }
        std::array<char, 16> value{};
        ASSERT_EQ(link.Exchange("NWPNAME", nullptr, value.data(), 15, true, true), 1) << round;
        EXPECT_EQ(std::string(value.data()), "N" + std::to_string(++expectedQuery));
        ASSERT_EQ(link.Exchange("NWSET", std::to_string(round), nullptr, 0, false, true), 1);
        if (round % 10 == 0) {
            ASSERT_EQ(link.SendCommand("IMSTAT", "31", false), 1);
        }
    }
    clock.SetAutomaticStep(0);
    EXPECT_EQ(link.Close(), 1);
    EXPECT_TRUE(peer.Finish());
    EXPECT_GT(keepAlives.load(), 0) << "the keep-alive never got a turn";
    std::printf("keep-alives interleaved with %d worker rounds: %d\n", round, keepAlives.load());
}

}  // namespace
}  // namespace lanterna
