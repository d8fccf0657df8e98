// Who is there, against simulated projectors on loopback addresses of their own (127.93.7.x):
// a round tells the answering from the silent ones, and the book keeps when each was first
// missed until it answers again.

#include <gtest/gtest.h>

#include "discovery/Presence.h"
#include "tests/integration/discovery/DiscoveryTestSupport.h"

namespace lanterna::test {
namespace {

std::unique_ptr<SimulatedProjector> PresentAt(const std::string& address) {
    SimulatorConfig config = TestConfig(address);
    config.port = kProjectorPort;
    config.name = "ROOM-7";
    return StartProjector(config);
}

TEST(Presence, ARoundTellsWhoAnswersAndTheBookKeepsSinceWhenTheOthersAreSilent) {
    HelloTarget target;
    target.localPort = 0;
    auto first = PresentAt("127.93.7.1");
    auto second = PresentAt("127.93.7.2");
    const std::vector<std::string> listed{"127.93.7.1", "127.93.7.2", "127.93.7.3"};
    CPresenceBook book;

    std::vector<bool> answered = RunPresenceRound(listed, target, 1500);
    ASSERT_EQ(answered, (std::vector<bool>{true, true, false}));
    book.Record(listed, answered, 1000);
    EXPECT_FALSE(book.SilentSince("127.93.7.1"));
    EXPECT_EQ(book.SilentSince("127.93.7.3"), 1000);

    second.reset();  // its power is cut
    answered = RunPresenceRound(listed, target, 1500);
    ASSERT_EQ(answered, (std::vector<bool>{true, false, false}));
    book.Record(listed, answered, 2000);
    EXPECT_EQ(book.SilentSince("127.93.7.2"), 2000);
    EXPECT_EQ(book.SilentSince("127.93.7.3"), 1000) << "silent since the first round it missed";

    second = PresentAt("127.93.7.2");
    answered = RunPresenceRound(listed, target, 1500);
    ASSERT_EQ(answered, (std::vector<bool>{true, true, false}));
    book.Record(listed, answered, 3000);
    EXPECT_FALSE(book.SilentSince("127.93.7.2")) << "back to normal once it answers";

    // An address no longer listed leaves the book with the next round.
    book.Record({{"127.93.7.1"}}, {true}, 4000);
    EXPECT_FALSE(book.SilentSince("127.93.7.3"));
}

}  // namespace
}  // namespace lanterna::test
