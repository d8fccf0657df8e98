#include <gtest/gtest.h>

#include <chrono>

#include "link/ProjectorLink.h"
#include "tests/integration/link/LinkTestSupport.h"
#include "tests/support/peer/ScriptedDatagramPeer.h"

namespace lanterna {
namespace {

using namespace std::chrono_literals;

using test::AsBytes;
using test::CScriptedDatagramPeer;

// Every search here goes to a unicast loopback peer from a free local port: never a broadcast.
LinkOptions SearchOptions() {
    return LinkOptions{.helloLocalPort = 0};
}

std::string HelloReply(std::string_view name, std::uint8_t imType, std::uint8_t status = 0x20,
                       std::uint8_t headerCount = 3) {
    auto header = EncodePacketHeader(PacketType::kHello, headerCount);
    header[kPacketStatusOffset] = status;
    std::string reply(header.begin(), header.end());
    for (const auto& entry : {EncodeHeaderEntry(1, 1, name), EncodeHeaderEntry(2, imType, ""),
                              EncodeHeaderEntry(3, 0, "")}) {
        reply.append(entry.begin(), entry.end());
    }
    return reply;
}

TEST(Hello, KeepsOnlyWellFormedRepliesFromTheProjectorPort) {
    CScriptedDatagramPeer peer;
    peer.Expect(AsBytes(BuildHelloRequest()))
        .Reply(HelloReply("ROOM-12", 21))
        .Reply(HelloReply("COUNT-2", 21, 0x20, 2))
        .Reply(HelloReply("STATUS-0", 21, 0x00))
        .Reply(HelloReply("TYPE-20", 20))
        .ReplyFromOtherPort(HelloReply("OTHER-PORT", 21))
        .Reply(HelloReply("0123456789ABCDEF", 22))
        .Reply("");  // an empty datagram ends the collection at once
    peer.Start();

    CProjectorLink link(SearchOptions());
    std::vector<DiscoveredProjector> found;
    EXPECT_EQ(link.Hello(peer.Address(), peer.Port(), found), 1);
    EXPECT_TRUE(peer.Finish());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(TextOf(found[0].name), "ROOM-12");
    EXPECT_EQ(TextOf(found[0].address), "127.0.0.1");
    EXPECT_EQ(found[0].imType, 21);
    EXPECT_EQ(TextOf(found[1].name), "0123456789ABCDE");
    EXPECT_EQ(found[1].imType, 22);
}

TEST(Hello, CollectionEndsFiveSecondsAfterTheLastDatagram) {
    CScriptedDatagramPeer peer;
    peer.Expect(AsBytes(BuildHelloRequest()))
        .Reply(HelloReply("FIRST", 21))
        .Pause(1500ms)
        .Reply(HelloReply("SECOND", 21));
    peer.Start();

    CProjectorLink link(SearchOptions());
    std::vector<DiscoveredProjector> found;
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(link.Hello(peer.Address(), peer.Port(), found), 1);
    const auto elapsed = std::chrono::steady_clock::now() - before;
    EXPECT_TRUE(peer.Finish());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(TextOf(found[1].name), "SECOND");
    EXPECT_GE(elapsed, 6300ms) << "the 5 s wait starts anew after each datagram";
    EXPECT_LT(elapsed, 15s);
}

TEST(Hello, PortHeldByAnotherProgramGivesMinusOne) {
    const int holder = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
    socklen_t size = sizeof local;
    getsockname(holder, reinterpret_cast<sockaddr*>(&local), &size);

    CProjectorLink link(LinkOptions{.helloLocalPort = ntohs(local.sin_port)});
    std::vector<DiscoveredProjector> found;
    EXPECT_EQ(link.Hello("127.0.0.1", 9, found), -1);
    EXPECT_TRUE(found.empty());
    close(holder);
}

TEST(Hello, UnresolvableDestinationGivesMinusOne) {
    CProjectorLink link(SearchOptions());
    std::vector<DiscoveredProjector> found;
    EXPECT_EQ(link.Hello(test::UnresolvableHostName(), kProjectorPort, found), -1);
}

}  // namespace
}  // namespace lanterna
