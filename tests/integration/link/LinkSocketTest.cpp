#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <thread>

#include "link/LinkSocket.h"
#include "tests/integration/link/LinkTestSupport.h"
#include "tests/support/peer/ScriptedPeer.h"

namespace lanterna {
namespace {

using namespace std::chrono_literals;

using test::CScriptedPeer;

class ReplyReading : public ::testing::Test {
  protected:
    // Starts the peer, connects, and sends the line that releases the peer's reply, so that
    // the socket is already waiting when the first piece arrives. The receive time-out is a
    // minute: a reply that is to come never misses it, however busy the machine.
    void ConnectAndAsk() {
        peer.Start();
        ASSERT_EQ(socket.ConnectTcp(peer.Address(), peer.Port()), 1);
        ASSERT_EQ(socket.SetReceiveTimeout(kReplyWaitMs), 1);
        ASSERT_EQ(socket.SendLine("GO"), 1);
    }

    static constexpr int kReplyWaitMs = 60000;

    std::string ReadReply(std::size_t capacity = kDrainChunkSize) {
        buffer.fill('#');
        const int length = socket.ReceiveReply(buffer.data(), capacity);
        if (length < 0) {
            return "failed " + std::to_string(length);
        }
        EXPECT_EQ(buffer[static_cast<std::size_t>(length)], '\0') << "reply is zero-terminated";
        return std::string(buffer.data(), static_cast<std::size_t>(length));
    }

    CScriptedPeer peer;
    CLinkSocket socket;
    std::array<char, kDrainChunkSize> buffer{};
};

// ---- pieces and the prompt ------------------------------------------------------------------

TEST_F(ReplyReading, PiecesAreAssembledUntilThePromptEndsThem) {
    peer.ExpectLine("GO").Reply("NWPNAME=RO").AwaitRead().Reply("OM-1").AwaitRead().Reply("2\r:");
    ConnectAndAsk();
    EXPECT_EQ(ReadReply(), "NWPNAME=ROOM-12\r:");
    EXPECT_TRUE(peer.Finish());
}

TEST_F(ReplyReading, ColonInsideAPieceDoesNotEndTheReply) {
    peer.ExpectLine("GO").Reply("NWSMTPTO=a:b").AwaitRead().Reply("\r:");
    ConnectAndAsk();
    EXPECT_EQ(ReadReply(), "NWSMTPTO=a:b\r:");
    EXPECT_TRUE(peer.Finish());
}

TEST_F(ReplyReading, ColonAsLastByteAvailableEndsTheReplyThere) {
    peer.ExpectLine("GO").Reply("NWTIME=12:").AwaitRead().Reply("30\r:");
    ConnectAndAsk();
    EXPECT_EQ(ReadReply(), "NWTIME=12:");
    EXPECT_EQ(ReadReply(), "30\r:") << "the rest is the next reply";
    EXPECT_TRUE(peer.Finish());
}

// ---- event notices --------------------------------------------------------------------------

TEST_F(ReplyReading, NoticeBeforeTheReplyIsSkipped) {
    peer.ExpectLine("GO").Reply("IMEVENT=0001 0002\r:").AwaitRead().Reply("NWPNAME=X\r:");
    ConnectAndAsk();
    EXPECT_EQ(ReadReply(), "NWPNAME=X\r:");
    EXPECT_TRUE(peer.Finish());
}

TEST_F(ReplyReading, NoticeRightAfterThePromptIsCutOff) {
    peer.ExpectLine("GO").Reply("NWPNAME=X\r:IMEVENT=0001\r:");
    ConnectAndAsk();
    EXPECT_EQ(ReadReply(), "NWPNAME=X\r:");
    EXPECT_EQ(buffer[12], '\0') << "the notice is wiped from the buffer";
    EXPECT_TRUE(peer.Finish());
}

TEST_F(ReplyReading, NoticeInsideTheTextDiscardsWhatCameWithIt) {
    peer.ExpectLine("GO").Reply("NWPNAME=X\rIMEVENT=0001\r:").AwaitRead().Reply("NWPNAME=Y\r:");
    ConnectAndAsk();
    EXPECT_EQ(ReadReply(), "NWPNAME=Y\r:");
    EXPECT_TRUE(peer.Finish());
}

// ---- capacity -------------------------------------------------------------------------------

TEST_F(ReplyReading, ReplyThatWouldNotFitFailsAndItsRestIsDiscarded) {
    peer.ExpectLine("GO").Reply("ABCDEFGH").AwaitRead().Reply("IJKLMNOPQRST:");
    ConnectAndAsk();
    EXPECT_EQ(ReadReply(16), "failed -2");
    EXPECT_EQ(std::string(buffer.data()), "ABCDEFGHIJKLMNO") << "what fits stays in the buffer";
    EXPECT_EQ(socket.DiscardPending(kDrainChunkSize), 5U);
    EXPECT_EQ(socket.DiscardPending(kDrainChunkSize), 0U) << "nothing is waited for";
    EXPECT_TRUE(peer.Finish());
}

TEST_F(ReplyReading, ReplyOneByteShorterThanTheCapacityFits) {
    peer.ExpectLine("GO").Reply("ABCDEFGHIJKLMN:").AwaitRead().Reply("0123456789ABCDE:");
    ConnectAndAsk();
    EXPECT_EQ(ReadReply(16), "ABCDEFGHIJKLMN:");
    EXPECT_EQ(ReadReply(16), "failed -2") << "16 bytes do not fit with their terminator";
    EXPECT_TRUE(peer.Finish());
}

// ---- failures -------------------------------------------------------------------------------

TEST_F(ReplyReading, PeerClosingMidReplyFails) {
    peer.ExpectLine("GO").Reply("NWPNAME=X").Pause(50ms).CloseConnection();
    ConnectAndAsk();
    EXPECT_EQ(ReadReply(), "failed -3");
    EXPECT_TRUE(peer.Finish());
}

TEST_F(ReplyReading, ReplyWithoutPromptFailsAtTheReceiveTimeout) {
    peer.ExpectLine("GO").Reply("NWPNAME=X");
    ConnectAndAsk();
    ASSERT_EQ(socket.SetReceiveTimeout(200), 1);
    EXPECT_EQ(ReadReply(), "failed -3");
    EXPECT_TRUE(peer.Finish());
}

// The socket's receive time-out stands in for a poll only while it ends within the deadline.
TEST_F(ReplyReading, DeadlineShorterThanTheReceiveTimeoutEndsTheRead) {
    peer.ExpectLine("GO").Reply("NWPNAME=X");
    ConnectAndAsk();
    const CDeadline deadline(SystemTickClock(), 200);
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(socket.ReceiveReply(buffer.data(), buffer.size(), &deadline), -3);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 30s) << "the time-out was waited out";
    EXPECT_TRUE(peer.Finish());
}

TEST_F(ReplyReading, InterruptEndsABlockedReadAtOnce) {
    peer.ExpectLine("GO");
    ConnectAndAsk();
    std::thread interrupter([&] {
        ASSERT_TRUE(peer.AwaitReceived(3));
        std::this_thread::sleep_for(50ms);
        socket.Interrupt();
    });
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadReply(), "failed -3");
    EXPECT_LT(std::chrono::steady_clock::now() - before, 10s) << "the time-out was not cut";
    interrupter.join();
    EXPECT_TRUE(socket.IsOpen()) << "interrupting does not close";
    EXPECT_TRUE(peer.Finish());
}

TEST(LinkSocket, SendFailureClosesTheSocket) {
    CScriptedPeer peer;
    peer.ExpectLine("A").ResetConnection();
    peer.Start();
    CLinkSocket socket;
    ASSERT_EQ(socket.ConnectTcp(peer.Address(), peer.Port()), 1);
    ASSERT_EQ(socket.SendLine("A"), 1);
    ASSERT_TRUE(peer.Finish());
    EXPECT_EQ(socket.SendLine("B"), 0);
    EXPECT_FALSE(socket.IsOpen());
    EXPECT_EQ(socket.Send("C", 1), 0);
    EXPECT_EQ(socket.Close(), -1);
}

TEST(LinkSocket, OperationsWithoutSocketFail) {
    CLinkSocket socket;
    std::array<char, 16> buffer{};
    EXPECT_EQ(socket.Startup(), 1);
    EXPECT_EQ(socket.Close(), -1);
    EXPECT_EQ(socket.Send("x", 1), 0);
    EXPECT_EQ(socket.SendLine("x"), 0);
    EXPECT_EQ(socket.SendTo("127.0.0.1", 9, "x", 1), 0);
    EXPECT_EQ(socket.Receive(buffer.data(), buffer.size()), -1);
    EXPECT_EQ(socket.ReceiveReply(buffer.data(), buffer.size()), -3);
    EXPECT_EQ(socket.SetReceiveTimeout(100), 0);
    EXPECT_EQ(socket.SetSendTimeout(100), 0);
    std::vector<DiscoveredProjector> results;
    EXPECT_EQ(socket.ReceiveHelloReplies(3629, results, 10), -1);
}

// ---- connecting -----------------------------------------------------------------------------

TEST(LinkSocket, ConnectFailuresLeaveNoSocket) {
    CLinkSocket socket;
    EXPECT_EQ(socket.ConnectTcp("127.0.0.1", test::PortWithNothingListening()), -1);
    EXPECT_FALSE(socket.IsOpen());
    EXPECT_EQ(socket.ConnectTcp(test::UnresolvableHostName(), 3629), -1);
    EXPECT_FALSE(socket.IsOpen());
    EXPECT_EQ(socket.ConnectTcp("", 3629), -1);
}

TEST(LinkSocket, ConnectsByHostNameToo) {
    CScriptedPeer peer;
    peer.ExpectLine("HI");
    peer.Start();
    CLinkSocket socket;
    ASSERT_EQ(socket.ConnectTcp("localhost", peer.Port()), 1);
    EXPECT_EQ(socket.SendLine("HI"), 1);
    EXPECT_TRUE(peer.Finish());
    EXPECT_EQ(socket.Close(), 1);
    EXPECT_EQ(socket.Close(), -1);
}

TEST(LinkSocket, UdpPortHeldElsewhereCannotBeBound) {
    // Another program's socket on a free port of all local addresses, without address reuse.
    const int holder = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
    socklen_t size = sizeof local;
    getsockname(holder, reinterpret_cast<sockaddr*>(&local), &size);

    CLinkSocket socket;
    EXPECT_EQ(socket.OpenUdp(ntohs(local.sin_port), false), -1);
    EXPECT_FALSE(socket.IsOpen());
    close(holder);
    EXPECT_EQ(socket.OpenUdp(ntohs(local.sin_port), false), 1) << "free again";
}

}  // namespace
}  // namespace lanterna
