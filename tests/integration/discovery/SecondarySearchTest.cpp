// The secondary search against a simulated projector and against a raw peer that answers
// with many (and malformed) datagrams.

#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "discovery/SecondarySearch.h"
#include "tests/integration/discovery/DiscoveryTestSupport.h"

namespace lanterna::test {
namespace {

Bytes AnswerDatagram(std::u16string_view name, std::u16string_view address, std::uint8_t kind = 3) {
    Bytes bytes(kSecondaryAnswerSize, 0);
    bytes[2] = kind;
    for (std::size_t i = 0; i < name.size(); ++i) {
        bytes.at(kSecondaryNameOffset + 2 * i) = static_cast<std::uint8_t>(name[i]);
    }
    for (std::size_t i = 0; i < address.size(); ++i) {
        bytes.at(kSecondaryAddressOffset + 2 * i) = static_cast<std::uint8_t>(address[i]);
    }
    return bytes;
}

std::u16string Utf16(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

// Receives the request and answers its sender from a socket of its own.
class CAnsweringPeer {
  public:
    explicit CAnsweringPeer(std::string peerAddress)
        : socket(peerAddress), address(std::move(peerAddress)) {}

    // Waits for the request, then sends `answers` (a short pause every few, as a network of
    // many modules spreads them out). Whether the request was the 4 expected bytes.
    std::future<bool> AnswerWith(std::vector<Bytes> answers) {
        return std::async(std::launch::async, [this, answers = std::move(answers)] {
            const auto request = socket.Receive(5s);
            if (!request ||
                request->bytes != Bytes(kSecondaryRequest.begin(), kSecondaryRequest.end())) {
                return false;
            }
            for (std::size_t i = 0; i < answers.size(); ++i) {
                socket.SendTo(answers[i], request->source);
                if (i % 16 == 15) {
                    std::this_thread::sleep_for(2ms);
                }
            }
            return true;
        });
    }

    SecondaryTarget Target() { return {.address = address, .port = socket.LocalPort()}; }

  private:
    CTestUdp socket;
    std::string address;
};

TEST(SecondarySearch, FindsTheSimulatedProjectorAndListensForTwoSeconds) {
    SimulatorConfig config = TestConfig("127.93.1.1");
    config.name = "Sala-\xC3\xA9";
    auto projector = StartProjector(config);
    CSecondarySearch search({.address = projector->Address(), .port = projector->SecondaryPort()});
    std::vector<SecondaryAnswer> answers;
    const Stopwatch watch;
    EXPECT_EQ(search.Run(answers, 128), 1);
    EXPECT_GE(watch.Elapsed(), 1900ms);
    EXPECT_LT(watch.Elapsed(), 10s);
    ASSERT_EQ(answers.size(), 1U);
    EXPECT_EQ(TextOf(answers[0].name), "Sala-\xC3\xA9");
    EXPECT_EQ(TextOf(answers[0].address), "127.93.1.1");
    EXPECT_EQ(projector->Counters().secondaryAnswered, 1U);
}

TEST(SecondarySearch, KeepsAtMostItsSlotsAndHandsOutTheFirstOfThemInOrder) {
    CAnsweringPeer peer("127.93.1.2");
    std::vector<Bytes> answers{AnswerDatagram(u"KIND-2", u"10.0.0.1", 2),
                               AnswerDatagram(u"", u"10.0.0.2"),
                               AnswerDatagram(u"ALL-ONES", u"255.255.255.255")};
    for (int i = 0; i < 300; ++i) {
        answers.push_back(AnswerDatagram(
            Utf16("P-" + std::to_string(i)),
            Utf16("10.1." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1))));
    }
    auto answered = peer.AnswerWith(answers);
    CSecondarySearch search(peer.Target(), 256);
    std::vector<SecondaryAnswer> kept;
    EXPECT_EQ(search.Run(kept, 128), 256) << "the 257th answer and later are skipped";
    EXPECT_TRUE(answered.get());
    ASSERT_EQ(kept.size(), 128U);
    EXPECT_EQ(TextOf(kept[0].name), "P-0") << "malformed answers are not counted";
    EXPECT_EQ(TextOf(kept[0].address), "10.1.0.1");
    EXPECT_EQ(TextOf(kept[127].name), "P-127");
}

TEST(SecondarySearch, ByDefaultKeepsAsManyAnswersAsTheListHolds) {
    CAnsweringPeer peer("127.93.1.5");
    std::vector<Bytes> answers;
    for (int i = 0; i < 300; ++i) {  // beyond the 128 records and 256 answers kept once
        answers.push_back(AnswerDatagram(Utf16("P-" + std::to_string(i)),
                                         Utf16("10.2.1." + std::to_string(i % 250 + 1))));
    }
    auto answered = peer.AnswerWith(answers);
    CSecondarySearch search(peer.Target());
    std::vector<SecondaryAnswer> kept;
    EXPECT_EQ(search.Run(kept, kSecondaryRecordCapacity), 300);
    EXPECT_TRUE(answered.get());
    ASSERT_EQ(kept.size(), 300U);
    EXPECT_EQ(TextOf(kept[299].name), "P-299");
}

TEST(SecondarySearch, CancelEndsTheListeningAtOnce) {
    CAnsweringPeer peer("127.93.1.3");
    auto answered = peer.AnswerWith({AnswerDatagram(u"EARLY", u"10.0.0.1")});
    CSecondarySearch search(peer.Target());
    std::vector<SecondaryAnswer> kept;
    auto run = std::async(std::launch::async, [&] { return search.Run(kept, 128); });
    EXPECT_TRUE(answered.get());
    std::this_thread::sleep_for(200ms);
    const Stopwatch watch;
    search.Cancel();
    EXPECT_EQ(run.get(), 1) << "what came before the cancel is kept";
    EXPECT_LT(watch.Elapsed(), 1500ms);
    ASSERT_EQ(kept.size(), 1U);
    EXPECT_EQ(TextOf(kept[0].name), "EARLY");

    const Stopwatch again;
    EXPECT_EQ(search.Run(kept, 128), 0) << "a cancelled search stays cancelled";
    EXPECT_LT(again.Elapsed(), 1500ms);
}

TEST(SecondarySearch, NothingAnsweringGivesZeroAfterTheWait) {
    CTestUdp silent("127.93.1.4");  // takes the request and never answers
    CSecondarySearch search({.address = "127.93.1.4", .port = silent.LocalPort()});
    std::vector<SecondaryAnswer> kept;
    EXPECT_EQ(search.Run(kept, 128), 0);
    EXPECT_TRUE(kept.empty());
    EXPECT_TRUE(silent.Receive(1s)) << "the request went out";
}

}  // namespace
}  // namespace lanterna::test
