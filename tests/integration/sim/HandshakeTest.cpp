// The packet handshake of the simulated projector, driven with hand-built packets.

#include "RawPeer.h"

namespace lanterna::sim::test {
namespace {

std::uint8_t StatusOf(const std::string& reply) {
    return static_cast<std::uint8_t>(reply.at(14));
}

// ---- password probe and connect --------------------------------------------------------------

TEST(Handshake, ProbeTellsWhetherAPasswordIsNeeded) {
    auto open = StartProjector(TestConfig("127.77.1.1"));
    SimulatorConfig guarded = TestConfig("127.77.1.2");
    guarded.password = "secret";
    auto locked = StartProjector(guarded);

    RawTcp first(open->Address(), open->TcpPort());
    ASSERT_TRUE(first.Send(RequestPacket(2)));
    const std::string reply = first.ReadExact(16);
    ASSERT_EQ(reply.size(), 16U);
    EXPECT_EQ(reply.substr(0, 10), "QVL/TK.net");
    EXPECT_EQ(reply[10], 0x10);
    EXPECT_EQ(reply[11], 2) << "the reply carries the request's type";
    EXPECT_EQ(StatusOf(reply), 0x20);
    EXPECT_EQ(reply[15], 0);

    RawTcp second(locked->Address(), locked->TcpPort());
    ASSERT_TRUE(second.Send(RequestPacket(2)));
    EXPECT_EQ(StatusOf(second.ReadExact(16)), 0x41);
}

TEST(Handshake, ConnectChecksThePassword) {
    SimulatorConfig config = TestConfig("127.77.1.3");
    config.password = "secret";
    auto projector = StartProjector(config);

    RawTcp withoutPassword(projector->Address(), projector->TcpPort());
    EXPECT_EQ(withoutPassword.Connect(), std::optional<std::uint8_t>(0x41));
    RawTcp wrong(projector->Address(), projector->TcpPort());
    EXPECT_EQ(wrong.Connect("guess"), std::optional<std::uint8_t>(0x41));
    EXPECT_EQ(projector->Counters().sessionsOpened, 0U);

    // A refused connect leaves the connection in the handshake; another try may succeed.
    EXPECT_EQ(wrong.Connect("secret"), std::optional<std::uint8_t>(0x20));
    EXPECT_EQ(wrong.Query("NWPNAME"), "SIMPROJ");
    EXPECT_EQ(projector->Counters().sessionsOpened, 1U);
}

TEST(Handshake, ProjectorWithoutPasswordTakesAnyConnect) {
    auto projector = StartProjector(TestConfig("127.77.1.4"));
    RawTcp empty(projector->Address(), projector->TcpPort());
    EXPECT_EQ(empty.Connect(), std::optional<std::uint8_t>(0x20));
    RawTcp withText(projector->Address(), projector->TcpPort());
    EXPECT_EQ(withText.Connect("anything"), std::optional<std::uint8_t>(0x20));
}

TEST(Handshake, SixteenBytePasswordWithoutTerminatorMatches) {
    SimulatorConfig config = TestConfig("127.77.1.5");
    config.password = "0123456789ABCDEF";
    auto projector = StartProjector(config);
    RawTcp session(projector->Address(), projector->TcpPort());
    // The entry is filled to its last byte: no terminating zero.
    EXPECT_EQ(session.Connect("0123456789ABCDEF"), std::optional<std::uint8_t>(0x20));
    RawTcp shorter(projector->Address(), projector->TcpPort());
    EXPECT_EQ(shorter.Connect("0123456789ABCDE"), std::optional<std::uint8_t>(0x41));
}

// ---- password change -------------------------------------------------------------------------

TEST(Handshake, PasswordChangeNeedsTheCurrentPassword) {
    SimulatorConfig config = TestConfig("127.77.1.6");
    config.password = "old";
    auto projector = StartProjector(config);

    RawTcp wrong(projector->Address(), projector->TcpPort());
    ASSERT_TRUE(wrong.Send(RequestPacket(2, {{1, 1, "bad"}, {2, 1, "new"}})));
    EXPECT_EQ(StatusOf(wrong.ReadExact(16)), 0x41);
    EXPECT_EQ(projector->Settings().password, "old");

    RawTcp right(projector->Address(), projector->TcpPort());
    ASSERT_TRUE(right.Send(RequestPacket(2, {{1, 1, "old"}, {2, 1, "new"}})));
    EXPECT_EQ(StatusOf(right.ReadExact(16)), 0x20);
    EXPECT_EQ(projector->Settings().password, "new");

    RawTcp oldOne(projector->Address(), projector->TcpPort());
    EXPECT_EQ(oldOne.Connect("old"), std::optional<std::uint8_t>(0x41));
    RawTcp newOne(projector->Address(), projector->TcpPort());
    EXPECT_EQ(newOne.Connect("new"), std::optional<std::uint8_t>(0x20));
}

TEST(Handshake, EmptyNewPasswordRemovesIt) {
    SimulatorConfig config = TestConfig("127.77.1.7");
    config.password = "old";
    auto projector = StartProjector(config);
    RawTcp change(projector->Address(), projector->TcpPort());
    ASSERT_TRUE(change.Send(RequestPacket(2, {{1, 1, "old"}, {2, 1, ""}})));
    EXPECT_EQ(StatusOf(change.ReadExact(16)), 0x20);

    RawTcp probe(projector->Address(), projector->TcpPort());
    ASSERT_TRUE(probe.Send(RequestPacket(2)));
    EXPECT_EQ(StatusOf(probe.ReadExact(16)), 0x20);
}

// ---- malformed packets -----------------------------------------------------------------------

TEST(Handshake, MalformedRequestsGetStatus40) {
    auto projector = StartProjector(TestConfig("127.77.1.8"));
    RawTcp session(projector->Address(), projector->TcpPort());
    ASSERT_TRUE(session.Send(RequestPacket(1)));  // hello over TCP
    EXPECT_EQ(StatusOf(session.ReadExact(16)), 0x40);
    ASSERT_TRUE(session.Send(RequestPacket(7)));
    EXPECT_EQ(StatusOf(session.ReadExact(16)), 0x40);
    ASSERT_TRUE(session.Send(RequestPacket(3, {}, 0x11)));  // other version
    EXPECT_EQ(StatusOf(session.ReadExact(16)), 0x40);
    ASSERT_TRUE(session.Send(RequestPacket(2, {{1, 1, "only one"}})));
    EXPECT_EQ(StatusOf(session.ReadExact(16)), 0x40);
    ASSERT_TRUE(session.Send(RequestPacket(3, {{5, 1, "x"}})));  // no password entry
    EXPECT_EQ(StatusOf(session.ReadExact(16)), 0x40);
}

TEST(Handshake, GarbageInsteadOfAPacketDropsTheConnection) {
    auto projector = StartProjector(TestConfig("127.77.1.9"));
    RawTcp session(projector->Address(), projector->TcpPort());
    ASSERT_TRUE(session.Send(std::string("NWPNAME?\rNWCNF?\r\x01\x02\x03\x04\x05\x06\x07", 23)));
    EXPECT_TRUE(session.WaitClosed());
    EXPECT_TRUE(projector->CommandLog().empty());

    // The projector goes on serving others.
    auto next = OpenSession(*projector);
    EXPECT_EQ(next->Query("NWPNAME"), "SIMPROJ");
}

TEST(Handshake, PacketArrivingByteByByteIsAssembled) {
    auto projector = StartProjector(TestConfig("127.77.1.10"));
    RawTcp session(projector->Address(), projector->TcpPort());
    const Bytes packet = RequestPacket(3, {{1, 1, "pw"}});
    for (std::uint8_t byte : packet) {
        ASSERT_TRUE(session.Send(Bytes{byte}));
    }
    EXPECT_EQ(StatusOf(session.ReadExact(16)), 0x20);
}

// ---- log and forced status ---------------------------------------------------------------------

TEST(Handshake, LogKeepsEveryPacketWithItsAnswer) {
    SimulatorConfig config = TestConfig("127.77.1.11");
    config.password = "pw";
    auto projector = StartProjector(config);
    RawTcp session(projector->Address(), projector->TcpPort());
    ASSERT_TRUE(session.Send(RequestPacket(2)));
    session.ReadExact(16);
    EXPECT_EQ(session.Connect("0123456789ABCDEFXYZ"), std::optional<std::uint8_t>(0x41));
    EXPECT_EQ(session.Connect("pw"), std::optional<std::uint8_t>(0x20));

    const auto log = projector->HandshakeLog();
    ASSERT_EQ(log.size(), 3U);
    EXPECT_EQ(log[0].type, 2);
    EXPECT_EQ(log[0].headerCount, 0);
    EXPECT_TRUE(log[0].entries.empty());
    EXPECT_EQ(log[0].replyStatus, 0x41);
    EXPECT_EQ(log[1].type, 3);
    ASSERT_EQ(log[1].entries.size(), 1U);
    EXPECT_EQ(log[1].entries[0], (PacketEntry{1, 1, "0123456789ABCDEF"}))
        << "the entry holds 16 bytes of the password";
    EXPECT_EQ(log[2].replyStatus, 0x20);
    EXPECT_EQ(log[2].version, 0x10);
}

TEST(Handshake, ForcedStatusAnswersEveryPacket) {
    SimulatorConfig config = TestConfig("127.77.1.12");
    config.faults.handshakeStatus = 0x53;
    auto projector = StartProjector(config);
    RawTcp session(projector->Address(), projector->TcpPort());
    ASSERT_TRUE(session.Send(RequestPacket(2)));
    EXPECT_EQ(StatusOf(session.ReadExact(16)), 0x53);
    EXPECT_EQ(session.Connect(), std::optional<std::uint8_t>(0x53));
    ASSERT_TRUE(session.Send(RequestPacket(2, {{1, 1, ""}, {2, 1, "new"}})));
    EXPECT_EQ(StatusOf(session.ReadExact(16)), 0x53);
    EXPECT_EQ(projector->Settings().password, "") << "a forced answer changes nothing";

    // Forced 0x20 opens the session even with a password that would not match.
    SimulatorConfig guarded = TestConfig("127.77.1.13");
    guarded.password = "pw";
    guarded.faults.handshakeStatus = 0x20;
    auto locked = StartProjector(guarded);
    RawTcp forced(locked->Address(), locked->TcpPort());
    EXPECT_EQ(forced.Connect("wrong"), std::optional<std::uint8_t>(0x20));
    EXPECT_EQ(forced.Query("NWPNAME"), "SIMPROJ");
}

TEST(Handshake, SplitReplyArrivesComplete) {
    SimulatorConfig config = TestConfig("127.77.1.14");
    config.faults.splitReplyPieces = 4;
    config.faults.splitDelay = 30ms;
    auto projector = StartProjector(config);
    RawTcp session(projector->Address(), projector->TcpPort());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(session.Connect(), std::optional<std::uint8_t>(0x20));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 90ms) << "three pauses between 4 writes";
}

}  // namespace
}  // namespace lanterna::sim::test
