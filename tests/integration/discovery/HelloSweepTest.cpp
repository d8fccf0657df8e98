// Hellos to many addresses from one socket, against simulated projectors on loopback addresses
// of their own (127.93.6.x), all on the test process's projector port: the sweep ends as soon as
// every address has answered, waits for the silent ones only as long as it is told, and asks
// again for projectors that are still starting. The waits it is not to sit out are made a
// minute long, so that the bounds below, ten seconds, hold on the busiest machine and still
// tell a sweep that ends at the answers from one that waits.

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "discovery/HelloSweep.h"
#include "tests/integration/discovery/DiscoveryTestSupport.h"
#include "tests/support/port/ProcessPort.h"

namespace lanterna::test {
namespace {

constexpr std::uint32_t kMinuteMs = 60000;
constexpr auto kWellWithinTheMinute = 10s;

std::unique_ptr<SimulatedProjector> ProjectorAt(const std::string& address, const char* name) {
    SimulatorConfig config = TestConfig(address);
    config.port = ProcessProjectorPort();
    config.name = name;
    return StartProjector(config);
}

HelloSweepOptions Options(std::uint32_t quietMs) {
    HelloSweepOptions options;
    options.port = ProcessProjectorPort();
    options.localPort = 0;
    options.quietMs = quietMs;
    options.limitMs = kMinuteMs;
    return options;
}

TEST(HelloSweep, EndsAsSoonAsEveryAddressHasAnsweredWithEachAnswerInItsPlace) {
    auto first = ProjectorAt("127.93.6.1", "ROOM-61");
    auto second = ProjectorAt("127.93.6.2", "ROOM-62");
    auto third = ProjectorAt("127.93.6.3", "ROOM-63");
    const std::vector<std::string> addresses{"127.93.6.3", "127.93.6.1", "127.93.6.2"};
    std::vector<HelloAnswer> answers;
    const Stopwatch watch;
    ASSERT_EQ(CHelloSweep(Options(kMinuteMs)).Run(addresses, answers), 1);
    EXPECT_LT(watch.Elapsed(), kWellWithinTheMinute) << "no quiet wait once all have answered";
    ASSERT_EQ(answers.size(), 3U);
    for (std::size_t i = 0; i < answers.size(); ++i) {
        ASSERT_TRUE(answers[i]) << addresses[i];
        EXPECT_EQ(TextOf(answers[i]->address), addresses[i]);
        EXPECT_EQ(TextOf(answers[i]->name), "ROOM-6" + addresses[i].substr(9));
    }
}

TEST(HelloSweep, SilentAndEmptyAddressesStayUnansweredAfterTheQuietWait) {
    auto answering = ProjectorAt("127.93.6.11", "ROOM-611");
    // Taken on all addresses by someone else: the sweep binds any free port instead.
    const int holder = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
    socklen_t size = sizeof local;
    getsockname(holder, reinterpret_cast<sockaddr*>(&local), &size);
    HelloSweepOptions options = Options(300);
    options.localPort = ntohs(local.sin_port);

    std::vector<HelloAnswer> answers;
    const Stopwatch watch;
    ASSERT_EQ(CHelloSweep(options).Run({{"127.93.6.11", "", "127.93.6.19"}}, answers), 1);
    const auto elapsed = watch.Elapsed();
    close(holder);
    EXPECT_GE(elapsed, 300ms);
    EXPECT_LT(elapsed, kWellWithinTheMinute) << "the quiet wait ends it, not the limit";
    ASSERT_EQ(answers.size(), 3U);
    EXPECT_TRUE(answers[0]);
    EXPECT_FALSE(answers[1]) << "an empty address is never asked, let alone broadcast";
    EXPECT_FALSE(answers[2]);

    std::vector<HelloAnswer> none;
    EXPECT_EQ(CHelloSweep(options).Run({{""}}, none), 1);
    EXPECT_FALSE(none.at(0));
}

TEST(HelloSweep, AskingAgainReachesAProjectorThatStartsAnsweringLater) {
    auto late = ProjectorAt("127.93.6.21", "ROOM-621");
    sim::DiscoveryConfig discovery = late->Discovery();
    discovery.answerHello = false;
    late->SetDiscovery(discovery);
    const Stopwatch watch;
    auto wake = std::async(std::launch::async, [&] {
        std::this_thread::sleep_for(400ms);
        sim::DiscoveryConfig on = late->Discovery();
        on.answerHello = true;
        late->SetDiscovery(on);
    });
    HelloSweepOptions options = Options(0);
    options.resendMs = 100;
    std::vector<HelloAnswer> answers;
    ASSERT_EQ(CHelloSweep(options).Run({{"127.93.6.21"}}, answers), 1);
    wake.get();
    EXPECT_TRUE(answers.at(0));
    EXPECT_GE(watch.Elapsed(), 400ms);
    EXPECT_LT(watch.Elapsed(), kWellWithinTheMinute) << "it ends at the answer, not at the limit";
}

}  // namespace
}  // namespace lanterna::test
