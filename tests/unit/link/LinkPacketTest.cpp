#include <gtest/gtest.h>

#include <string>

#include "link/LinkPacket.h"

namespace lanterna {
namespace {

std::string AsText(const PacketBytes& bytes, std::size_t offset, std::size_t count) {
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                       bytes.begin() + static_cast<std::ptrdiff_t>(offset + count));
}

void ExpectHeader(const PacketBytes& packet, std::uint8_t type, std::uint8_t headerCount) {
    ASSERT_GE(packet.size(), kPacketHeaderSize);
    EXPECT_EQ(AsText(packet, 0, 10), "QVL/TK.net");
    EXPECT_EQ(packet[10], 0x10);
    EXPECT_EQ(packet[11], type);
    EXPECT_EQ(packet[12], 0);
    EXPECT_EQ(packet[13], 0);
    EXPECT_EQ(packet[14], 0) << "requests carry status 0";
    EXPECT_EQ(packet[15], headerCount);
}

// ---- requests -------------------------------------------------------------------------------

TEST(LinkPacket, HelloAndProbeAreBareHeaders) {
    const PacketBytes hello = BuildHelloRequest();
    EXPECT_EQ(hello.size(), 16u);
    ExpectHeader(hello, 1, 0);

    const PacketBytes probe = BuildPasswordProbeRequest();
    EXPECT_EQ(probe.size(), 16u);
    ExpectHeader(probe, 2, 0);
}

TEST(LinkPacket, ConnectWithoutPasswordHasNoEntry) {
    const PacketBytes connect = BuildConnectRequest("");
    EXPECT_EQ(connect.size(), 16u);
    ExpectHeader(connect, 3, 0);
}

TEST(LinkPacket, ConnectWithPasswordCarriesOneZeroPaddedEntry) {
    const PacketBytes connect = BuildConnectRequest("secret");
    ASSERT_EQ(connect.size(), 34u);
    ExpectHeader(connect, 3, 1);
    EXPECT_EQ(connect[16], 1) << "entry id: password";
    EXPECT_EQ(connect[17], 1) << "attribute";
    EXPECT_EQ(AsText(connect, 18, 6), "secret");
    for (std::size_t i = 24; i < 34; ++i) {
        EXPECT_EQ(connect[i], 0) << "padding byte " << i;
    }
}

TEST(LinkPacket, PasswordOfSixteenBytesFillsTheFieldWithoutTerminator) {
    const PacketBytes connect = BuildConnectRequest("0123456789ABCDEF");
    ASSERT_EQ(connect.size(), 34u);
    EXPECT_EQ(AsText(connect, 18, 16), "0123456789ABCDEF");
}

TEST(LinkPacket, LongerPasswordIsCutToSixteenBytes) {
    const PacketBytes connect = BuildConnectRequest("0123456789ABCDEFGHIJ");
    ASSERT_EQ(connect.size(), 34u);
    EXPECT_EQ(AsText(connect, 18, 16), "0123456789ABCDEF");
}

TEST(LinkPacket, PasswordChangeCarriesCurrentThenNew) {
    const PacketBytes change = BuildPasswordChangeRequest("old", "brand-new");
    ASSERT_EQ(change.size(), 52u);
    ExpectHeader(change, 2, 2);
    EXPECT_EQ(change[16], 1);
    EXPECT_EQ(change[17], 1);
    EXPECT_EQ(AsText(change, 18, 4), std::string("old\0", 4));
    EXPECT_EQ(change[34], 2);
    EXPECT_EQ(change[35], 1);
    EXPECT_EQ(AsText(change, 36, 10), std::string("brand-new\0", 10));
    EXPECT_EQ(change[51], 0);
}

TEST(LinkPacket, PasswordChangeKeepsEmptyEntries) {
    const PacketBytes change = BuildPasswordChangeRequest("", "");
    ASSERT_EQ(change.size(), 52u) << "both entries are always sent";
    EXPECT_EQ(change[16], 1);
    EXPECT_EQ(change[34], 2);
}

// ---- status mapping -------------------------------------------------------------------------

TEST(LinkPacket, StatusTableMapsEveryListedCode) {
    EXPECT_EQ(StatusToResult(0x20), 1);
    EXPECT_EQ(StatusToResult(0x40), -2);
    EXPECT_EQ(StatusToResult(0x41), -3);
    EXPECT_EQ(StatusToResult(0x43), -4);
    EXPECT_EQ(StatusToResult(0x45), -5);
    EXPECT_EQ(StatusToResult(0x53), -6);
    EXPECT_EQ(StatusToResult(0x55), -7);
}

TEST(LinkPacket, StatusOutsideTheTableIsPlainFailure) {
    const std::uint8_t listed[] = {0x20, 0x40, 0x41, 0x43, 0x45, 0x53, 0x55};
    for (int status = 0; status < 256; ++status) {
        if (std::find(std::begin(listed), std::end(listed), status) != std::end(listed)) {
            continue;
        }
        EXPECT_EQ(StatusToResult(static_cast<std::uint8_t>(status)), -1) << status;
        EXPECT_EQ(ProbeStatusToResult(static_cast<std::uint8_t>(status)), -1) << status;
    }
}

TEST(LinkPacket, ProbeReadsTheStatusItsOwnWay) {
    EXPECT_EQ(ProbeStatusToResult(0x20), 0) << "no password required";
    EXPECT_EQ(ProbeStatusToResult(0x41), 1) << "password required";
    EXPECT_EQ(ProbeStatusToResult(0x40), -1);
    EXPECT_EQ(ProbeStatusToResult(0x55), -1);
}

}  // namespace
}  // namespace lanterna
