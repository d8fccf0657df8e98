// Who is there, against simulated projectors on loopback addresses of their own (127.93.7.x):
// a round tells the answering from the silent ones, and the book keeps when each was first
// missed until it answers again.

#include <gtest/gtest.h>

#include "discovery/Greeting.h"
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

// Each projector is greeted the way it was found: one whose module answers only the secondary
// search was counted silent at every round of hellos.
TEST(Presence, EachProjectorIsGreetedTheWayItWasFound) {
    SimulatorConfig secondaryOnly = TestConfig("127.93.8.1");
    secondaryOnly.name = "ROOM-201";
    secondaryOnly.discovery.answerHello = false;
    SimulatorConfig pjlinkOnly = TestConfig("127.93.8.2");
    pjlinkOnly.discovery.answerHello = false;
    pjlinkOnly.discovery.answerSecondary = false;
    pjlinkOnly.pjlink.enabled = true;
    auto room = StartProjector(secondaryOnly);
    auto hall = StartProjector(pjlinkOnly);
    SearchTargets targets = TargetsAt(*room, "127.93.8.254");
    targets.hello.address.clear();
    targets.pjlink.address.clear();
    const std::vector<std::string> listed{"127.93.8.1", "127.93.8.2", "127.93.8.3"};
    const std::vector<Greeting> ways{Greeting::kSecondary, Greeting::kPjlink,
                                     Greeting::kSecondary};
    EXPECT_EQ(RunGreetingRound(listed, ways, targets, 1500),
              (std::vector<bool>{true, true, false}));
    EXPECT_EQ(RunGreetingRound(listed, {}, targets, 1500),
              (std::vector<bool>{false, false, false}))
        << "neither answers a hello";

    struct Case {
        std::uint8_t foundBy;
        Greeting way;
    };
    for (const Case c : {Case{0, Greeting::kHello}, Case{kFinderHello, Greeting::kHello},
                         Case{kFinderHello | kFinderPjlink, Greeting::kHello},
                         Case{kFinderSecondary, Greeting::kSecondary},
                         Case{kFinderSecondary | kFinderPjlink, Greeting::kSecondary},
                         Case{kFinderPjlink, Greeting::kPjlink}}) {
        ProjectorRecord record{};
        record.foundBy = c.foundBy;
        EXPECT_EQ(GreetingOf(record), c.way) << int{c.foundBy};
    }
}

}  // namespace
}  // namespace lanterna::test
