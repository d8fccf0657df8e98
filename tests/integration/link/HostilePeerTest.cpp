// The link against a simulated projector that misbehaves on purpose: replies that trickle in a
// byte at a time must end at their deadline, and command lines that would smuggle a second
// command in must never leave.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "link/ProjectorLink.h"
#include "platform/ManualClock.h"
#include "tools/projector-sim/SimulatedProjector.h"

namespace lanterna {
namespace {

using namespace std::chrono_literals;

std::unique_ptr<sim::SimulatedProjector> StartProjector(const std::string& address,
                                                        std::chrono::milliseconds trickle) {
    sim::SimulatorConfig config;
    config.address = address;
    config.port = 0;
    config.secondaryPort = 0;
    config.name = "ROOM-9";
    config.faults.trickleInterval = trickle;
    auto projector = std::make_unique<sim::SimulatedProjector>(config);
    std::string reason;
    EXPECT_TRUE(projector->Start(&reason)) << reason;
    return projector;
}

std::string Query(CProjectorLink& link, const char* name, int* result = nullptr) {
    std::array<char, 64> value{};
    const int got = link.Exchange(name, nullptr, value.data(), value.size() - 1, true, true);
    if (result != nullptr) {
        *result = got;
    }
    return value.data();
}

// ---- replies that trickle ----------------------------------------------------------------------

// 16 or 17 bytes 20 ms apart would be whole after a third of a second; on a deadline clock that
// moves a second at every reading, their five seconds have passed long before.
TEST(HostilePeer, TricklingRepliesEndAtTheirDeadlineAndSlowButTimelyOnesArrive) {
    const auto projector = StartProjector("127.84.9.1", 0ms);
    CManualClock deadlineClock;
    CProjectorLink link(LinkOptions{.deadlineClock = &deadlineClock});
    ASSERT_EQ(link.Connect("127.84.9.1", projector->TcpPort()), 1);
    ASSERT_EQ(link.Authenticate(""), 1);
    sim::FaultConfig faults = projector->Faults();
    faults.trickleInterval = 5ms;
    projector->SetFaults(faults);
    EXPECT_EQ(Query(link, "NWPNAME"), "ROOM-9") << "a slow reply within its deadline is whole";

    faults.trickleInterval = 20ms;
    projector->SetFaults(faults);
    deadlineClock.SetAutomaticStep(1000);
    int result = -1;
    EXPECT_EQ(Query(link, "NWPNAME", &result), "");
    EXPECT_EQ(result, 0);

    CProjectorLink handshake(LinkOptions{.deadlineClock = &deadlineClock});
    ASSERT_EQ(handshake.Connect("127.84.9.1", projector->TcpPort()), 1);
    EXPECT_EQ(handshake.Authenticate(""), -1);
}

// ---- command lines that would carry a second command -------------------------------------------

TEST(HostilePeer, CommandLinesWithControlBytesAreNeverSent) {
    const auto projector = StartProjector("127.84.9.2", 0ms);
    CProjectorLink link;
    ASSERT_EQ(link.Connect("127.84.9.2", projector->TcpPort()), 1);
    ASSERT_EQ(link.Authenticate(""), 1);
    std::array<char, 16> value{};
    EXPECT_EQ(link.Exchange("NWCNAME", "HACKED\rNWCNAME", nullptr, 0, false, true), 0);
    EXPECT_EQ(link.Exchange("NWCNAME HACKED\rNWCNAME", nullptr, value.data(), 15, true, true), 0);
    EXPECT_EQ(link.Exchange("NWPNAME", "ROOM\n1", nullptr, 0, false, false), 0);
    EXPECT_EQ(link.Exchange("NWPNAME", "A\x1b", nullptr, 0, false, true), 0);
    EXPECT_EQ(link.SendCommand("IMSTAT", "31\r", false), 1) << "trailing white space is trimmed";
    EXPECT_EQ(link.SendCommand("IMSTAT\x7f", "31", false), 0);
    EXPECT_EQ(link.Exchange("NWPNAME", "HALL-2F\t", nullptr, 0, false, true), 1);
    EXPECT_EQ(Query(link, "NWPNAME"), "HALL-2F");
    EXPECT_EQ(projector->CommandLog(),
              (std::vector<std::string>{"IMSTAT 31", "NWPNAME HALL-2F", "NWPNAME?"}));
}

}  // namespace
}  // namespace lanterna
