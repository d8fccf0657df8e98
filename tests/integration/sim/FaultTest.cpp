// Fault injection of the simulated projector: split replies, event notices, delays, dropped
// connections, refused commands.

#include "RawPeer.h"

namespace lanterna::sim::test {
namespace {

using Clock = std::chrono::steady_clock;

TEST(Faults, SplitReplyArrivesCompleteInSeveralPieces) {
    SimulatorConfig config = TestConfig("127.77.3.1");
    config.faults.splitReplyPieces = 3;
    config.faults.splitDelay = 200ms;
    auto projector = StartProjector(config);
    auto session = OpenSession(*projector);

    const auto start = Clock::now();
    ASSERT_TRUE(session->Send("NWPNAME?\r"));
    const std::string first = session->ReadSome();
    EXPECT_LT(first.size(), std::string("NWPNAME=SIMPROJ\r:").size());
    EXPECT_EQ(first + session->ReadReply(), "NWPNAME=SIMPROJ\r:");
    EXPECT_GE(Clock::now() - start, 400ms) << "two pauses between three writes";
}

// Switched back to whole replies, the next one leaves in one write and so arrives in one read;
// split, its first byte would come 50 ms ahead of the rest.
TEST(Faults, SplittingCanBeSwitchedWhileRunning) {
    auto projector = StartProjector(TestConfig("127.77.3.2"));
    auto session = OpenSession(*projector);
    FaultConfig faults = projector->Faults();
    faults.splitReplyPieces = 64;  // more pieces than bytes: one byte per write
    faults.splitDelay = 50ms;
    projector->SetFaults(faults);
    EXPECT_EQ(session->Query("NWCNAME"), "public");
    faults.splitReplyPieces = 1;
    projector->SetFaults(faults);
    ASSERT_TRUE(session->Send("NWCNAME?\r"));
    EXPECT_EQ(session->ReadSome(), "NWCNAME=public\r:");
}

// A read returns whatever has arrived, so how many bytes each one gets depends on when the test
// runs; what does not: the reply comes whole, and only after a pause before every further byte.
TEST(Faults, TrickledRepliesComeOneByteAtATime) {
    SimulatorConfig config = TestConfig("127.77.3.9");
    config.faults.trickleInterval = 15ms;
    auto projector = StartProjector(config);
    RawTcp session(projector->Address(), projector->TcpPort());
    auto start = Clock::now();
    EXPECT_EQ(session.Connect(), std::optional<std::uint8_t>(0x20)) << "the handshake trickles too";
    EXPECT_GE(Clock::now() - start, 15 * 15ms);

    const std::string reply = "NWCNAME=public\r:";
    start = Clock::now();
    ASSERT_TRUE(session.Send("NWCNAME?\r"));
    std::string received;
    while (received.size() < reply.size()) {
        const std::string piece = session.ReadSome();
        if (piece.empty()) {
            break;
        }
        received += piece;
    }
    EXPECT_EQ(received, reply);
    EXPECT_GE(Clock::now() - start, static_cast<int>(reply.size() - 1) * 15ms);
}

TEST(Faults, EventNoticeBeforeReplyComesAsAReplyOfItsOwn) {
    SimulatorConfig config = TestConfig("127.77.3.3");
    config.faults.eventNotice = EventNoticePlacement::kBeforeReply;
    config.faults.eventNoticeGap = 200ms;
    auto projector = StartProjector(config);
    auto session = OpenSession(*projector);

    ASSERT_TRUE(session->Send("NWIF?\r"));
    EXPECT_EQ(session->ReadReply(), "IMEVENT=0001\r:");
    EXPECT_EQ(session->ReadReply(), "NWIF=0\r:");
    // Nothing else follows: without the fault, the next command's reply is the next thing read.
    projector->SetFaults({});
    EXPECT_EQ(session->Command("NWPNAME?"), "NWPNAME=SIMPROJ\r:");
}

TEST(Faults, EventNoticeAfterPromptTravelsWithTheReply) {
    SimulatorConfig config = TestConfig("127.77.3.4");
    config.faults.eventNotice = EventNoticePlacement::kAfterPrompt;
    config.faults.eventNoticeText = "IMEVENT=0002 0040";
    auto projector = StartProjector(config);
    auto session = OpenSession(*projector);

    const std::string first = "NWIF=0\r:IMEVENT=0002 0040\r:";
    ASSERT_TRUE(session->Send("NWIF?\r"));
    EXPECT_EQ(session->ReadExact(first.size()), first);
    const std::string second = "ERR\r:IMEVENT=0002 0040\r:";
    ASSERT_TRUE(session->Send("NWPNAME BAD NAME\r"));
    EXPECT_EQ(session->ReadExact(second.size()), second);
    projector->SetFaults({});
    EXPECT_EQ(session->Command("NWPNAME?"), "NWPNAME=SIMPROJ\r:") << "nothing else followed";
}

TEST(Faults, ReplyDelayHoldsBackEveryReply) {
    SimulatorConfig config = TestConfig("127.77.3.5");
    config.faults.replyDelay = 300ms;
    auto projector = StartProjector(config);
    auto start = Clock::now();
    auto session = OpenSession(*projector);
    EXPECT_GE(Clock::now() - start, 300ms) << "the handshake reply waits too";
    start = Clock::now();
    EXPECT_EQ(session->Query("NWIF"), "0");
    EXPECT_GE(Clock::now() - start, 300ms);
}

TEST(Faults, ConnectionDropsAfterTheGivenBytes) {
    SimulatorConfig config = TestConfig("127.77.3.6");
    config.faults.dropAfterBytes = 20;
    auto projector = StartProjector(config);
    auto session = OpenSession(*projector);

    EXPECT_EQ(session->Command("NWIF?"), "NWIF=0\r:") << "8 of 20 bytes";
    ASSERT_TRUE(session->Send("NWPNAME?\r"));
    EXPECT_EQ(session->ReadExact(100), "NWPNAME=SIMP") << "the remaining 12 bytes, then closed";
    EXPECT_TRUE(session->WaitClosed());

    // The budget is per connection.
    auto again = OpenSession(*projector);
    EXPECT_EQ(again->Command("NWIF?"), "NWIF=0\r:");
}

TEST(Faults, DropAtZeroBytesClosesBeforeAnyReply) {
    SimulatorConfig config = TestConfig("127.77.3.7");
    config.faults.dropAfterBytes = 0;
    auto projector = StartProjector(config);
    auto session = OpenSession(*projector);
    ASSERT_TRUE(session->Send("NWIF?\r"));
    EXPECT_TRUE(session->WaitClosed());
    EXPECT_EQ(projector->CommandLog(), std::vector<std::string>{"NWIF?"});
}

TEST(Faults, RefusedCommandsGetErrInEveryForm) {
    SimulatorConfig config = TestConfig("127.77.3.8");
    config.faults.refusedCommands = {"NWPNAME", "NWSMTPTEST", "NWRESET"};
    auto projector = StartProjector(config);
    auto session = OpenSession(*projector);

    EXPECT_EQ(session->Command("NWPNAME?"), "ERR\r:");
    EXPECT_EQ(session->Command("NWPNAME OTHER"), "ERR\r:");
    EXPECT_EQ(session->Command("NWSMTPTEST"), "ERR\r:");
    EXPECT_EQ(session->Query("NWCNAME"), "public") << "other commands still work";
    EXPECT_EQ(projector->Settings().name, "SIMPROJ");
    EXPECT_EQ(projector->Counters().testMails, 0U);

    // A refused reset does not restart the module.
    ASSERT_TRUE(session->Send("NWRESET\r"));
    EXPECT_EQ(session->Query("NWIF"), "0");
    EXPECT_EQ(projector->Counters().resets, 0U);

    FaultConfig faults = projector->Faults();
    faults.refusedCommands.clear();
    projector->SetFaults(faults);
    EXPECT_EQ(session->Query("NWPNAME"), "SIMPROJ");
}

TEST(Faults, SpoiltRepliesGoOutAsConfigured) {
    SimulatorConfig config = TestConfig("127.77.3.10");
    config.faults.replyFaults = {
        {"NWSMTPSRV", {ReplyFaultKind::kUnderName, 0, "NWSMTPPORT"}},
        {"NWSMTPPORT", {ReplyFaultKind::kSecondReply, 0, "NWCNAME"}},
        {"NWCNAME", {ReplyFaultKind::kRawValue, 0, std::string("a\0\x1b\xff", 4)}},
        {"NWIF", {ReplyFaultKind::kNoPrompt, 0, {}}},
        {"NWPNAME", {ReplyFaultKind::kCut, 5, {}}},
    };
    auto projector = StartProjector(config);
    auto session = OpenSession(*projector);
    EXPECT_EQ(session->Command("NWSMTPSRV?"), "NWSMTPPORT=0.0.0.0\r:");
    ASSERT_TRUE(session->Send("NWSMTPPORT?\r"));
    EXPECT_EQ(session->ReadExact(31), "NWSMTPPORT=25\r:NWCNAME=public\r:") << "both answers";
    EXPECT_EQ(session->Command("NWCNAME?"), std::string("NWCNAME=a\0\x1b\xff\r:", 14));
    EXPECT_EQ(session->Command("NWCNAME x"), "\r:") << "a set keeps its reply";
    ASSERT_TRUE(session->Send("NWIF?\r"));
    EXPECT_EQ(session->ReadExact(7), "NWIF=0\r") << "no prompt, and the connection stays";
    ASSERT_TRUE(session->Send("NWPNAME?\r"));
    EXPECT_EQ(session->ReadExact(100), "NWPNA");
    EXPECT_TRUE(session->WaitClosed());
}

TEST(Faults, ConnectionDropsAfterTheGivenSetCommands) {
    SimulatorConfig config = TestConfig("127.77.3.11");
    config.faults.dropAfterSets = 2;
    auto projector = StartProjector(config);
    auto session = OpenSession(*projector);
    EXPECT_EQ(session->Command("NWCNAME ops"), "\r:");
    EXPECT_EQ(session->Query("NWCNAME"), "ops") << "queries do not count";
    EXPECT_EQ(session->Command("NWPNAME BAD NAME"), "ERR\r:") << "a refused set counts";
    EXPECT_TRUE(session->WaitClosed());
    EXPECT_EQ(OpenSession(*projector)->Command("NWCNAME lab"), "\r:") << "per connection";
}

}  // namespace
}  // namespace lanterna::sim::test
