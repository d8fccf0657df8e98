// lanternactl discover and probe, run in-process with their targets on loopback.

#include <gtest/gtest.h>

#include <future>
#include <nlohmann/json.hpp>
#include <sstream>

#include "resources/StringTable.h"
#include "tests/integration/discovery/DiscoveryTestSupport.h"
#include "tools/lanternactl/CliContext.h"

namespace lanterna::test {
namespace {

struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
};

CommandRun RunCommand(const std::vector<std::string>& args, const cli::CliNetwork& network) {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    // In English: the messages are read as words.
    cli::CliContext context{in,
                            out,
                            err,
                            [](std::string_view name) -> std::optional<std::string> {
                                if (name == "LANTERNA_LANG") {
                                    return "en";
                                }
                                return std::nullopt;
                            },
                            [](std::string_view) { return std::nullopt; },
                            false};
    context.network = network;
    CommandRun result;
    result.status = cli::RunLanternactl(context, cli::CliArgs(args));
    result.out = out.str();
    result.err = err.str();
    return result;
}

CommandRun Discover(std::vector<std::string> args, const SearchTargets& targets) {
    args.insert(args.begin(), "discover");
    cli::CliNetwork network;
    network.search = targets;
    return RunCommand(args, network);
}

// Hellos from any free local port to `port`; every address is loopback here.
CommandRun Probe(std::vector<std::string> args, std::uint16_t port) {
    args.insert(args.begin(), "probe");
    cli::CliNetwork network;
    network.helloPort = port;
    network.helloLocalPort = 0;
    return RunCommand(args, network);
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
    EXPECT_EQ(text.out,
              "ADDRESS     NAME     TYPE  FOUND BY\n"
              "127.93.4.1  ROOM-12  22    both\n");
    EXPECT_EQ(text.err, "");

    const CommandRun array = json.get();
    EXPECT_EQ(array.status, 0) << array.err;
    const auto records = nlohmann::json::parse(array.out);
    ASSERT_EQ(records.size(), 1U);
    // Just the facts of the search, not a whole record.
    EXPECT_EQ(records[0], nlohmann::json({{"address", "127.93.4.2"},
                                          {"name", "SIMPROJ"},
                                          {"imType", 21},
                                          {"foundBy", "hello"}}));
}

// The hello search's port is taken: what the secondary search found is listed, and the exit
// status says the search of the network could not run.
TEST(DiscoverCommand, FailsWhenTheHelloSearchCouldNotRunWhateverTheSecondaryFound) {
    auto projector = StartProjector(TestConfig("127.93.4.5"));
    const CTestUdp taken("0.0.0.0");
    SearchTargets targets = TargetsAt(*projector);
    targets.hello.localPort = taken.LocalPort();
    const CommandRun run = Discover({}, targets);
    EXPECT_EQ(run.status, cli::kExitFailed);
    EXPECT_NE(run.out.find("127.93.4.5"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("the hello search could not run"), std::string::npos) << run.err;
}

TEST(DiscoverCommand, UnknownArgumentIsAUsageError) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"--xml"}, {"extra"}, {"--json", "--csv"}}) {
        const CommandRun run = Discover(args, SearchTargets{});
        EXPECT_EQ(run.status, cli::kExitUsage) << args[0];
        EXPECT_NE(run.err.find("lanternactl discover"), std::string::npos) << run.err;
    }
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
