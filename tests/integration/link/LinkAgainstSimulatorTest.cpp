// The link against the simulated projector on loopback: the two sides of the framing were
// written apart, so each checks the other. Every case ends by comparing the command lines the
// projector received with those the link was asked to send.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "link/ProjectorLink.h"
#include "tests/support/sim/SessionsEnded.h"
#include "tools/projector-sim/SimulatedProjector.h"

namespace lanterna {
namespace {

using Lines = std::vector<std::string>;
using namespace std::chrono_literals;

std::unique_ptr<sim::SimulatedProjector> StartProjector(const std::string& address,
                                                        const std::string& password = "") {
    sim::SimulatorConfig config;
    config.address = address;
    config.port = 0;
    config.secondaryPort = 0;
    config.name = "ROOM-7";
    config.password = password;
    auto projector = std::make_unique<sim::SimulatedProjector>(config);
    std::string reason;
    EXPECT_TRUE(projector->Start(&reason)) << reason;
    return projector;
}

// The command log once `link` is closed and the projector has seen it go: only then is a line
// that got no reply, or one sent unasked, certain to be in it.
Lines LogAfterClosing(CProjectorLink& link, const sim::SimulatedProjector& projector) {
    link.Close();
    EXPECT_TRUE(test::WaitUntilSessionsEnd(projector)) << "the projector still serves a link";
    return projector.CommandLog();
}

// The value of a query; empty when the query failed.
std::string Query(CProjectorLink& link, const char* name) {
    std::array<char, 256> value{};
    link.Exchange(name, nullptr, value.data(), value.size() - 1, true, true);
    return value.data();
}

// ---- handshake ---------------------------------------------------------------------------------

TEST(LinkAgainstSimulator, OpenProjectorTakesTheEmptyConnect) {
    const auto projector = StartProjector("127.84.1.1");
    CProjectorLink link;
    ASSERT_EQ(link.Connect("127.84.1.1", projector->TcpPort()), 1);
    EXPECT_EQ(link.QueryPasswordRequired(), 0);
    EXPECT_EQ(link.Authenticate(""), 1);
    EXPECT_EQ(Query(link, "NWPNAME"), "ROOM-7");
    EXPECT_EQ(link.Close(), 1);
    EXPECT_EQ(link.Close(), 0);
    EXPECT_EQ(projector->Counters().sessionsOpened, 1U);
}

TEST(LinkAgainstSimulator, PasswordIsAskedRefusedWhenWrongAndTakenWhenRight) {
    const auto projector = StartProjector("127.84.1.2", "secret");
    CProjectorLink link;
    ASSERT_EQ(link.Connect("127.84.1.2", projector->TcpPort()), 1);
    EXPECT_EQ(link.QueryPasswordRequired(), 1);
    EXPECT_EQ(link.Authenticate("wrong"), -3) << "status 0x41";
    EXPECT_EQ(link.Authenticate(""), -3);
    EXPECT_EQ(link.Authenticate("secret"), 1) << "another try on the same connection";
    EXPECT_EQ(Query(link, "NWPNAME"), "ROOM-7");
    EXPECT_EQ(projector->Counters().sessionsOpened, 1U);
}

TEST(LinkAgainstSimulator, ChangedPasswordIsTheOneThatOpensNextTime) {
    const auto projector = StartProjector("127.84.1.3", "old-one");
    {
        CProjectorLink link;
        ASSERT_EQ(link.Connect("127.84.1.3", projector->TcpPort()), 1);
        EXPECT_EQ(link.ChangePassword("not-it", "new-one"), -3);
        EXPECT_EQ(link.ChangePassword("old-one", "new-one"), 1);
    }
    CProjectorLink link;
    ASSERT_EQ(link.Connect("127.84.1.3", projector->TcpPort()), 1);
    EXPECT_EQ(link.Authenticate("old-one"), -3);
    EXPECT_EQ(link.Authenticate("new-one"), 1);
    EXPECT_EQ(LogAfterClosing(link, *projector), Lines{}) << "packets are no command lines";
}

// ---- text commands -----------------------------------------------------------------------------

TEST(LinkAgainstSimulator, QueriesSetsAndSendOnlyCommandsReachTheProjectorInOrder) {
    const auto projector = StartProjector("127.84.2.1");
    sim::FaultConfig faults;
    faults.refusedCommands = {"NWDNSDMN"};
    projector->SetFaults(faults);
    CProjectorLink link;
    ASSERT_EQ(link.Connect("127.84.2.1", projector->TcpPort()), 1);
    ASSERT_EQ(link.Authenticate(""), 1);

    EXPECT_EQ(link.Exchange("NWPNAME", "HALL-2", nullptr, 0, false, true), 1);
    EXPECT_EQ(projector->QueryValue("NWPNAME"), "HALL-2");
    EXPECT_EQ(Query(link, "NWPNAME"), "HALL-2");
    EXPECT_EQ(link.Exchange("NWPNAME", "NOT A NAME", nullptr, 0, false, true), 0)
        << "the projector refuses a malformed name";
    EXPECT_EQ(projector->QueryValue("NWPNAME"), "HALL-2");

    std::array<char, 16> value{};
    value[0] = 'x';
    EXPECT_EQ(link.Exchange("NWDNSDMN", nullptr, value.data(), 15, true, true), 0);
    EXPECT_STREQ(value.data(), "x") << "a refused query leaves the value as it was";
    EXPECT_EQ(link.Exchange("NWCNF", "OFF 10.1.2.3 255.255.0.0 10.1.0.1", nullptr, 0, false, true),
              1);
    EXPECT_EQ(Query(link, "NWCNF"), "OFF 10.1.2.3 255.255.0.0 10.1.0.1");
    EXPECT_EQ(link.SendCommand("IMSTAT", "31", false), 1);
    EXPECT_EQ(Query(link, "NWPNAME"), "HALL-2") << "a send-only command leaves no reply behind";

    EXPECT_EQ(
        LogAfterClosing(link, *projector),
        (Lines{"NWPNAME HALL-2", "NWPNAME?", "NWPNAME NOT A NAME", "NWDNSDMN?",
               "NWCNF OFF 10.1.2.3 255.255.0.0 10.1.0.1", "NWCNF?", "IMSTAT 31", "NWPNAME?"}));
}

// ---- faults on the wire ------------------------------------------------------------------------

TEST(LinkAgainstSimulator, RepliesInPiecesAndEventNoticesStillGiveTheValue) {
    const auto projector = StartProjector("127.84.3.1");
    CProjectorLink link;
    ASSERT_EQ(link.Connect("127.84.3.1", projector->TcpPort()), 1);
    sim::FaultConfig faults;
    faults.splitReplyPieces = 3;
    faults.splitDelay = 5ms;
    projector->SetFaults(faults);
    ASSERT_EQ(link.Authenticate(""), 1) << "handshake reply in pieces";
    EXPECT_EQ(Query(link, "NWPNAME"), "ROOM-7");

    faults.eventNotice = sim::EventNoticePlacement::kBeforeReply;
    faults.eventNoticeGap = 20ms;
    projector->SetFaults(faults);
    EXPECT_EQ(Query(link, "NWPNAME"), "ROOM-7") << "notice before the reply is skipped";

    faults.splitReplyPieces = 1;
    faults.eventNotice = sim::EventNoticePlacement::kAfterPrompt;
    projector->SetFaults(faults);
    EXPECT_EQ(Query(link, "NWPNAME"), "ROOM-7") << "notice behind the prompt is cut off";
    EXPECT_EQ(link.Exchange("NWPNAME", "HALL-4", nullptr, 0, false, true), 1);
    EXPECT_EQ(projector->QueryValue("NWPNAME"), "HALL-4");
}

}  // namespace
}  // namespace lanterna
