#include <gtest/gtest.h>

#include <vector>

#include "link/DiscoveredProjector.h"
#include "link/LinkPacket.h"

namespace lanterna {
namespace {

constexpr std::uint16_t kPort = 3629;

std::vector<std::uint8_t> HelloReply(std::string_view name, std::uint8_t imType,
                                     std::uint8_t status = 0x20, std::uint8_t headerCount = 3) {
    const auto header = EncodePacketHeader(PacketType::kHello, headerCount);
    std::vector<std::uint8_t> reply(header.begin(), header.end());
    reply[kPacketStatusOffset] = status;
    const auto first = EncodeHeaderEntry(1, 1, name);
    const auto second = EncodeHeaderEntry(2, imType, "module");
    const auto third = EncodeHeaderEntry(3, 0, "");
    for (const auto* entry : {&first, &second, &third}) {
        reply.insert(reply.end(), entry->begin(), entry->end());
    }
    return reply;
}

TEST(HelloReply, DecodesNameSourceAddressAndModuleType) {
    const auto reply = HelloReply("ROOM-12", 21);
    const auto projector = DecodeHelloReply(reply, "192.0.2.7", kPort, kPort);
    ASSERT_TRUE(projector);
    EXPECT_EQ(TextOf(projector->name), "ROOM-12");
    EXPECT_EQ(TextOf(projector->address), "192.0.2.7");
    EXPECT_EQ(projector->imType, 21);
}

TEST(HelloReply, NameKeepsAtMostFifteenBytes) {
    const auto reply = HelloReply("0123456789ABCDEF", 22);
    const auto projector = DecodeHelloReply(reply, "192.0.2.7", kPort, kPort);
    ASSERT_TRUE(projector);
    EXPECT_EQ(TextOf(projector->name), "0123456789ABCDE");
}

TEST(HelloReply, IgnoresWrongCountZeroStatusOtherPortAndModuleType20) {
    EXPECT_FALSE(DecodeHelloReply(HelloReply("A", 21, 0x20, 2), "192.0.2.7", kPort, kPort));
    EXPECT_FALSE(DecodeHelloReply(HelloReply("A", 21, 0x20, 4), "192.0.2.7", kPort, kPort));
    EXPECT_FALSE(DecodeHelloReply(HelloReply("A", 21, 0x00), "192.0.2.7", kPort, kPort));
    EXPECT_FALSE(DecodeHelloReply(HelloReply("A", 21), "192.0.2.7", 3630, kPort));
    EXPECT_FALSE(DecodeHelloReply(HelloReply("A", 20), "192.0.2.7", kPort, kPort));
}

TEST(HelloReply, ShortDatagramReadsMissingBytesAsZero) {
    auto reply = HelloReply("ROOM", 21);
    reply.resize(20);  // header and the first two name bytes only
    const auto projector = DecodeHelloReply(reply, "192.0.2.7", kPort, kPort);
    ASSERT_TRUE(projector);
    EXPECT_EQ(TextOf(projector->name), "RO");
    EXPECT_EQ(projector->imType, 0);

    reply.resize(15);
    EXPECT_FALSE(DecodeHelloReply(reply, "192.0.2.7", kPort, kPort)) << "no header count";
}

}  // namespace
}  // namespace lanterna
