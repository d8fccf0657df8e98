// An address whose packets vanish: nothing answers, nothing refuses. Connecting must give up
// after its own limit and the probe must say that nothing answered, each within seconds.

#include <gtest/gtest.h>

#include <cstdio>
#include <future>
#include <string>

#include "resources/StringTable.h"
#include "tests/support/netns/ChildProcess.h"
#include "tests/support/netns/TestNetwork.h"

namespace lanterna::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kSilentAddress = "10.78.0.99";

void PrintFigure(const char* what, const ProgramRun& run) {
    std::printf("figure: %s %.2f s\n", what, static_cast<double>(run.wall.count()) / 1000.0);
    std::fflush(stdout);
}

TEST(SilentAddress, ConnectAndProbeGiveUpWithinSeconds) {
    CTestNetwork network("silent");
    ASSERT_TRUE(network.Create()) << network.Error();
    ASSERT_TRUE(network.AddHost("client", {"10.78.0.1/16"})) << network.Error();
    // A hardware address no host on the bridge has: frames to it are flooded and dropped.
    ASSERT_TRUE(network.AddNeighbour("client", kSilentAddress, "02:00:5e:00:53:99"))
        << network.Error();
    const std::string netns = network.Namespace("client");

    // The system's own connect limit is over two minutes; the run is cut off long before.
    auto read = std::async(std::launch::async, [&] {
        return RunProgram(netns, {LANTERNACTL, "read", kSilentAddress}, 60s,
                          {"LANTERNA_PASSWORD="});
    });
    auto probe = std::async(std::launch::async, [&] {
        return RunProgram(netns, {LANTERNACTL, "probe", kSilentAddress}, 60s);
    });
    const ProgramRun reading = read.get();
    const ProgramRun probing = probe.get();
    PrintFigure("read of a silent address ends after", reading);
    PrintFigure("probe of a silent address ends after", probing);

    EXPECT_EQ(reading.exitStatus, 1) << reading.err;
    EXPECT_NE(reading.err.find(LoadString(kStringConnectFailed)), std::string::npos) << reading.err;
    EXPECT_LT(reading.wall, 15s);
    EXPECT_EQ(probing.exitStatus, 1) << probing.err;
    EXPECT_NE(probing.err.find("nothing answered at 10.78.0.99 within 5 seconds"),
              std::string::npos)
        << probing.err;
    EXPECT_LT(probing.wall, 15s);
}

}  // namespace
}  // namespace lanterna::test
