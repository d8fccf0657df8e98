// The discovery answers of the simulated projector: hello replies and secondary search
// answers, requested by unicast on loopback. Broadcasts to many are the namespace tests' own.

#include <algorithm>

#include "RawPeer.h"

namespace lanterna::sim::test {
namespace {

const Bytes kSecondaryRequest{0x02, 0x00, 0x00, 0x0F};

std::optional<RawUdp::Datagram> Hello(const SimulatedProjector& projector,
                                      std::chrono::milliseconds timeout = 30s) {
    RawUdp client;
    EXPECT_TRUE(client.SendTo(RequestPacket(1), projector.Address(), projector.HelloPort()));
    return client.Receive(timeout);
}

std::optional<RawUdp::Datagram> Secondary(const SimulatedProjector& projector,
                                          std::chrono::milliseconds timeout = 30s) {
    RawUdp client;
    EXPECT_TRUE(client.SendTo(kSecondaryRequest, projector.Address(), projector.SecondaryPort()));
    return client.Receive(timeout);
}

constexpr std::size_t kSecondaryAnswerBytes = 120;

// The datagrams `client` receives while it makes two round trips to one of the projector's UDP
// ports (the hello port, or the secondary one), their answers included. The projector serves
// both ports from one thread, a turn at a time, so once the second answer is in, whatever
// `client` sent to the other port before has been handled: an answer to it would have come
// first. Shows that something was not answered without waiting for time to pass.
std::vector<RawUdp::Datagram> AfterTwoRoundTrips(RawUdp& client,
                                                 const SimulatedProjector& projector,
                                                 bool toHelloPort) {
    std::vector<RawUdp::Datagram> received;
    for (int trip = 0; trip < 2; ++trip) {
        EXPECT_TRUE(
            toHelloPort
                ? client.SendTo(RequestPacket(1), projector.Address(), projector.HelloPort())
                : client.SendTo(kSecondaryRequest, projector.Address(), projector.SecondaryPort()));
        while (const auto datagram = client.Receive()) {
            received.push_back(*datagram);
            if ((datagram->bytes.size() == kSecondaryAnswerBytes) != toHelloPort) {
                break;  // this trip's answer
            }
        }
    }
    return received;
}

std::size_t CountOfSize(const std::vector<RawUdp::Datagram>& datagrams, bool secondaryAnswers) {
    return static_cast<std::size_t>(
        std::count_if(datagrams.begin(), datagrams.end(), [&](const RawUdp::Datagram& d) {
            return (d.bytes.size() == kSecondaryAnswerBytes) == secondaryAnswers;
        }));
}

std::string TextAt(const Bytes& bytes, std::size_t offset, std::size_t size) {
    std::string text(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                     bytes.begin() + static_cast<std::ptrdiff_t>(offset + size));
    return text.substr(0, text.find('\0'));
}

// The UTF-16LE text at `offset` up to its terminator, which must come before `end`.
std::u16string Utf16At(const Bytes& bytes, std::size_t offset, std::size_t end) {
    std::u16string text;
    for (std::size_t i = offset; i + 1 < end; i += 2) {
        const char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) {
            return text;
        }
        text.push_back(unit);
    }
    ADD_FAILURE() << "no terminator";
    return text;
}

// ---- hello -----------------------------------------------------------------------------------

TEST(Hello, ReplyCarriesNameTypeAndComesFromTheProjectorPort) {
    SimulatorConfig config = TestConfig("127.77.4.1");
    config.name = "ROOM-12";
    config.imType = 22;
    config.mac = "00A0B1C2D3E4";
    auto projector = StartProjector(config);
    const auto reply = Hello(*projector);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->sourceAddress, "127.77.4.1");
    EXPECT_EQ(reply->sourcePort, projector->HelloPort());
    EXPECT_EQ(projector->HelloPort(), projector->TcpPort());

    const Bytes& bytes = reply->bytes;
    ASSERT_EQ(bytes.size(), 16U + 3 * 18);
    EXPECT_EQ(TextAt(bytes, 0, 10), "QVL/TK.net");
    EXPECT_EQ(bytes[10], 0x10);
    EXPECT_EQ(bytes[11], 1);
    EXPECT_EQ(bytes[14], 0x20);
    EXPECT_EQ(bytes[15], 3);
    EXPECT_EQ(TextAt(bytes, 18, 16), "ROOM-12");
    EXPECT_EQ(bytes[18 + 7], 0) << "zero-padded";
    EXPECT_EQ(bytes[35], 22);
    EXPECT_EQ(TextAt(bytes, 36, 16), "00A0B1C2D3E4");
    EXPECT_EQ(projector->Counters().helloAnswered, 1U);
}

TEST(Hello, SixteenByteNameFillsTheEntry) {
    SimulatorConfig config = TestConfig("127.77.4.2");
    config.name = "ABCDEFGHIJKLMNOPQRS";
    auto projector = StartProjector(config);
    const auto reply = Hello(*projector);
    ASSERT_TRUE(reply);
    EXPECT_EQ(std::string(reply->bytes.begin() + 18, reply->bytes.begin() + 34),
              "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(reply->bytes[34], 2) << "entry 2 follows directly";
}

TEST(Hello, NameChangedOverTheLinkIsAnnounced) {
    auto projector = StartProjector(TestConfig("127.77.4.3"));
    ASSERT_TRUE(projector->ApplySet("NWPNAME", "RENAMED"));
    const auto reply = Hello(*projector);
    ASSERT_TRUE(reply);
    EXPECT_EQ(TextAt(reply->bytes, 18, 16), "RENAMED");
}

TEST(Hello, SwitchesAndFaultsShapeTheReply) {
    SimulatorConfig config = TestConfig("127.77.4.4");
    config.imType = 20;
    auto projector = StartProjector(config);
    DiscoveryConfig discovery = projector->Discovery();

    discovery.answerHello = false;
    projector->SetDiscovery(discovery);
    RawUdp client;
    ASSERT_TRUE(client.SendTo(RequestPacket(1), projector->Address(), projector->HelloPort()));
    const auto received = AfterTwoRoundTrips(client, *projector, false);
    EXPECT_EQ(CountOfSize(received, true), 2U);
    EXPECT_EQ(CountOfSize(received, false), 0U) << "switched off";
    EXPECT_EQ(projector->Counters().helloAnswered, 0U);

    discovery.answerHello = true;
    discovery.helloHeaderCount = 2;
    projector->SetDiscovery(discovery);
    auto reply = Hello(*projector);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->bytes[15], 2);
    EXPECT_EQ(reply->bytes.size(), 16U + 2 * 18);
    EXPECT_EQ(reply->bytes[35], 20) << "a type-20 module says so";

    discovery.helloHeaderCount = 3;
    discovery.helloStatus = 0;
    projector->SetDiscovery(discovery);
    reply = Hello(*projector);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->bytes[14], 0);

    discovery.helloStatus = 0x20;
    discovery.helloFromOtherPort = true;
    projector->SetDiscovery(discovery);
    reply = Hello(*projector);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->sourceAddress, "127.77.4.4");
    EXPECT_NE(reply->sourcePort, projector->HelloPort());
}

TEST(Hello, OnlyHelloRequestsAreAnswered) {
    auto projector = StartProjector(TestConfig("127.77.4.5"));
    RawUdp client;
    Bytes answered = RequestPacket(1);
    answered[14] = 0x20;  // shaped like a reply: never answered, so replies cannot echo
    Bytes wrongMagic = RequestPacket(1);
    wrongMagic[0] = 'X';
    Bytes shortened = RequestPacket(1);
    shortened.resize(10);
    const std::vector<Bytes> ignored{answered,         wrongMagic,
                                     RequestPacket(2), RequestPacket(1, {}, 0x11),
                                     shortened,        kSecondaryRequest};
    for (const Bytes& datagram : ignored) {
        ASSERT_TRUE(client.SendTo(datagram, projector->Address(), projector->HelloPort()));
    }
    // The port's datagrams are handled in order: with this one's answer in, the others have
    // been handled, and none was answered.
    ASSERT_TRUE(client.SendTo(RequestPacket(1), projector->Address(), projector->HelloPort()));
    EXPECT_TRUE(client.Receive());
    EXPECT_EQ(projector->Counters().helloAnswered, 1U);
}

// ---- secondary search ------------------------------------------------------------------------

TEST(SecondarySearch, AnswerCarriesNameAndAddressInUtf16) {
    SimulatorConfig config = TestConfig("127.77.4.6");
    config.name = "Sala-\xc3\xa9";  // UTF-8 e with acute accent
    auto projector = StartProjector(config);
    const auto answer = Secondary(*projector);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->sourceAddress, "127.77.4.6");
    const Bytes& bytes = answer->bytes;
    ASSERT_EQ(bytes.size(), 120U);
    EXPECT_EQ(bytes[2], 3);
    EXPECT_EQ(bytes[3], 0);
    EXPECT_EQ(Utf16At(bytes, 4, 86), u"Sala-\u00e9");
    EXPECT_EQ(Utf16At(bytes, 86, 120), u"127.77.4.6");
    EXPECT_EQ(projector->Counters().secondaryAnswered, 1U);
}

TEST(SecondarySearch, LongNameIsCutToFortyCharacters) {
    SimulatorConfig config = TestConfig("127.77.4.7");
    config.name = std::string(45, 'N');
    auto projector = StartProjector(config);
    const auto answer = Secondary(*projector);
    ASSERT_TRUE(answer);
    EXPECT_EQ(Utf16At(answer->bytes, 4, 86), std::u16string(40, u'N'));
}

TEST(SecondarySearch, SwitchesAndFaults) {
    auto projector = StartProjector(TestConfig("127.77.4.8"));
    DiscoveryConfig discovery = projector->Discovery();
    discovery.secondaryEmptyName = true;
    projector->SetDiscovery(discovery);
    auto answer = Secondary(*projector);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->bytes[4], 0);
    EXPECT_EQ(answer->bytes[5], 0);
    EXPECT_EQ(Utf16At(answer->bytes, 86, 120), u"127.77.4.8");

    discovery.answerSecondary = false;
    projector->SetDiscovery(discovery);
    RawUdp client;
    ASSERT_TRUE(client.SendTo(kSecondaryRequest, projector->Address(), projector->SecondaryPort()));
    const auto received = AfterTwoRoundTrips(client, *projector, true);
    EXPECT_EQ(CountOfSize(received, false), 2U);
    EXPECT_EQ(CountOfSize(received, true), 0U) << "switched off";
    EXPECT_EQ(projector->Counters().secondaryAnswered, 1U) << "the first request only";

    discovery.answerSecondary = true;
    projector->SetDiscovery(discovery);
    ASSERT_TRUE(client.SendTo({0x02, 0x00, 0x00, 0x0F, 0x00}, projector->Address(),
                              projector->SecondaryPort()));
    ASSERT_TRUE(
        client.SendTo({0x02, 0x00, 0x00, 0x0E}, projector->Address(), projector->SecondaryPort()));
    // Handled in order: with the answer to a proper request in, the two above were ignored.
    ASSERT_TRUE(client.SendTo(kSecondaryRequest, projector->Address(), projector->SecondaryPort()));
    const auto proper = client.Receive();
    ASSERT_TRUE(proper);
    EXPECT_EQ(proper->bytes.size(), kSecondaryAnswerBytes);
    EXPECT_EQ(projector->Counters().secondaryAnswered, 2U) << "other datagrams are ignored";
}

// ---- receiving broadcasts --------------------------------------------------------------------

// With broadcasts on, a datagram that reaches the port through the all-addresses socket is
// still answered from the projector's own address and port. A unicast to 127.0.0.1 (an
// address no projector listens on) takes that road without broadcasting.
TEST(BroadcastMode, AnswersLeaveFromTheProjectorAddress) {
    SimulatorConfig config = TestConfig("127.77.4.9");
    config.receiveBroadcasts = true;
    auto projector = StartProjector(config);

    RawUdp client;
    ASSERT_TRUE(client.SendTo(RequestPacket(1), "127.0.0.1", projector->HelloPort()));
    auto reply = client.Receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->sourceAddress, "127.77.4.9");
    EXPECT_EQ(reply->sourcePort, projector->HelloPort());

    ASSERT_TRUE(client.SendTo(kSecondaryRequest, "127.0.0.1", projector->SecondaryPort()));
    reply = client.Receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->sourceAddress, "127.77.4.9");
    EXPECT_EQ(reply->sourcePort, projector->SecondaryPort());
}

}  // namespace
}  // namespace lanterna::sim::test
