// lanternactl discover and probe, run in-process with their targets on loopback.

#include <gtest/gtest.h>

#include <future>
#include <nlohmann/json.hpp>
#include <sstream>

#include "resources/StringTable.h"
#include "tests/integration/discovery/DiscoveryTestSupport.h"
#include "tools/lanternactl/DiscoveryCommands.h"

namespace lanterna::test {
namespace {

struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
};

template <typename Run>
CommandRun RunCommand(const std::vector<std::string>& args, Run run) {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    cli::CliContext context{in,
                            out,
                            err,
                            [](std::string_view) { return std::nullopt; },
                            [](std::string_view) { return std::nullopt; },
                            false};
    CommandRun result;
    result.status = run(context, cli::CliArgs(args));
    result.out = out.str();
    result.err = err.str();
    return result;
}

CommandRun Discover(const std::vector<std::string>& args, const SearchTargets& targets) {
    return RunCommand(
        args, [&](cli::CliContext& c, cli::CliArgs a) { return cli::RunDiscover(c, a, targets); });
}

CommandRun Probe(const std::vector<std::string>& args, std::uint16_t port) {
    return RunCommand(args, [&](cli::CliContext& c, cli::CliArgs a) {
        return cli::RunProbe(c, a, {.debugMode = false, .port = port, .localPort = 0});
    });
}

TEST(DiscoverCommand, OneLinePerProjectorAndAJsonArray) {
    SimulatorConfig config = TestConfig("127.93.4.1");
    config.name = "ROOM-12";
    config.imType = 22;
    auto projector = StartProjector(config);
    SimulatorConfig helloOnlyConfig = TestConfig("127.93.4.2");
    helloOnlyConfig.discovery.answerSecondary = false;
    auto helloOnly = StartProjector(helloOnlyConfig);

    auto lines =
        std::async(std::launch::async, [&] { return Discover({}, TargetsAt(*projector)); });
    auto json =
        std::async(std::launch::async, [&] { return Discover({"--json"}, TargetsAt(*helloOnly)); });

    const CommandRun text = lines.get();
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out, "127.93.4.1\tROOM-12\t22\thello+secondary\n");
    EXPECT_EQ(text.err, "");

    const CommandRun array = json.get();
    EXPECT_EQ(array.status, 0) << array.err;
    const auto records = nlohmann::json::parse(array.out);
    ASSERT_EQ(records.size(), 1U);
    EXPECT_EQ(records[0]["projectorName"], "SIMPROJ");
    EXPECT_EQ(records[0]["address"], "127.93.4.2");
    EXPECT_EQ(records[0]["imType"], 21);
    EXPECT_EQ(records[0]["origin"], 0);
    EXPECT_FALSE(records[0].contains("password"));
}

TEST(DiscoverCommand, UnknownArgumentIsAUsageError) {
    const CommandRun run = Discover({"--xml"}, SearchTargets{});
    EXPECT_EQ(run.status, cli::kExitUsage);
    EXPECT_NE(run.err.find("usage"), std::string::npos);
}

TEST(ProbeCommand, NameAndTypeOrNothingAnswered) {
    SimulatorConfig config = TestConfig("127.93.4.11");
    config.name = "LOBBY";
    auto projector = StartProjector(config);
    CTestUdp silent("127.93.4.12");

    auto found = std::async(std::launch::async,
                            [&] { return Probe({"127.93.4.11"}, projector->HelloPort()); });
    auto none =
        std::async(std::launch::async, [&] { return Probe({"127.093.4.12"}, silent.LocalPort()); });

    const CommandRun answered = found.get();
    EXPECT_EQ(answered.status, 0) << answered.err;
    EXPECT_EQ(answered.out, "LOBBY\t21\n");

    const CommandRun silentRun = none.get();
    EXPECT_EQ(silentRun.status, cli::kExitFailed);
    EXPECT_EQ(silentRun.out, "");
    EXPECT_NE(silentRun.err.find("nothing answered at 127.93.4.12 within 5 seconds"),
              std::string::npos)
        << silentRun.err;
    EXPECT_TRUE(silent.Receive(0ms)) << "the typed address was written back as %d.%d.%d.%d";
}

TEST(ProbeCommand, MalformedAddressIsRefusedWithoutTraffic) {
    for (const char* address : {"10.0.0", "10.0.0.256", "10.0.0.1.2", "host.example", ""}) {
        const CommandRun run = Probe({address}, 9);
        EXPECT_EQ(run.status, cli::kExitUsage) << address;
        EXPECT_NE(run.err.find(LoadString(kStringBadIpAddress)), std::string::npos) << address;
    }
    EXPECT_EQ(Probe({}, 9).status, cli::kExitUsage);
}

}  // namespace
}  // namespace lanterna::test
