// The write gate's bad cases run through every road of lanternactl that writes: each refuses
// with exit 1, sends nothing and says why (the words are the gate's unit table's). Simulated
// projectors on loopback addresses of their own (127.87.45.x), 10.45.0.9 routed to one.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "settings/SettingsFile.h"
#include "tests/integration/lanternactl/ProjectorOnLoopback.h"
#include "tests/support/cli/CliHarness.h"
#include "tools/projector-sim/ProjectorSettings.h"

namespace lanterna::test {
namespace {

std::string MacOf(const std::string& address) {
    Octets octets{};
    ScanDottedInto(address, octets);
    return sim::DerivedMac(octets);
}

std::size_t SetsIn(const Lines& log) {
    return static_cast<std::size_t>(std::count_if(
        log.begin(), log.end(), [](const std::string& line) { return line.find('?') == std::string::npos; }));
}

sim::SimulatorConfig Named(const std::string& address, const std::string& name,
                           const std::string& mac = "") {
    sim::SimulatorConfig config = CProjectorOnPort::ConfigFor(address);
    config.name = name;
    config.mac = mac;
    return config;
}

// A settings file of the projector with `mac`, giving it 10.45.0.9/24 and community "lab1".
std::string SettingsFileOf(const std::string& mac, const std::string& name) {
    ProjectorRecord file{};
    CopyText(file.projectorName, "ROOM-451");
    CopyText(file.macAddress, mac);
    file.imType = 21;
    file.ipAddress = {10, 45, 0, 9};
    file.subnetMask = {255, 255, 255, 0};
    file.gateway = {10, 45, 0, 1};
    CopyText(file.community, "lab1");
    for (std::int32_t* state : {&file.dhcpState, &file.projectorNameState, &file.ipAddressState,
                                &file.subnetMaskState, &file.gatewayState, &file.communityState}) {
        *state = kStateRead;
    }
    const std::string path = ::testing::TempDir() + name;
    EXPECT_EQ(WriteSettingsFile(file, path), 1);
    return path;
}

// An address another projector answers a hello at is refused on every road.
TEST(WriteGateRoads, AnAddressThatAnswersIsRefusedOnEveryRoad) {
    CProjectorOnPort victim(Named("127.87.45.1", "ROOM-451"));
    CProjectorOnPort bystander(Named("127.87.45.9", "HALL-1F"));
    const std::string mac = MacOf("127.87.45.1");
    const std::string file = SettingsFileOf(mac, "gate-roads-address.ini");
    const CTestFile rows("gate-roads-address.csv",
                         "hardwareAddress,ipAddress,gateway\n" + mac + ",10.45.0.9,10.45.0.1\n");
    CliSetup setup;
    setup.environment.emplace("LANTERNA_LANG", "en");
    setup.routes = {{"10.45.0.9", "127.87.45.9"}};
    const std::vector<std::vector<std::string>> roads = {
        {"set", "127.87.45.1", "ipAddress=10.45.0.9", "gateway=10.45.0.1"},
        {"apply", file, "127.87.45.1"},
        {"provision", rows.path, "127.87.45.1"},
        {"restore", file, "127.87.45.1"},
    };
    for (const std::vector<std::string>& road : roads) {
        for (const bool dryRun : {true, false}) {
            SCOPED_TRACE(road[0] + (dryRun ? " --dry-run" : ""));
            std::vector<std::string> args = road;
            if (dryRun) {
                args.push_back("--dry-run");
            }
            const CliRun run = RunCli(args, setup);
            EXPECT_EQ(run.status, 1) << run.out << run.err;
            EXPECT_TRUE(Contains(run.out + run.err, "10.45.0.9")) << run.out << run.err;
        }
    }
    EXPECT_EQ(SetsIn(victim.Log()), 0U);
    // --force keeps its meaning on the roads that did not know it.
    const CliRun forced =
        RunCli({"provision", rows.path, "127.87.45.1", "--force", "--no-verify"}, setup);
    std::filesystem::remove(file);
    EXPECT_EQ(forced.status, 0) << forced.out << forced.err;
    EXPECT_GT(SetsIn(victim.Log()), 0U);
    EXPECT_EQ(SetsIn(bystander.Log()), 0U);
}

// Two projectors report one hardware address: nothing kept for it goes to either, whichever
// road keys a write by it.
TEST(WriteGateRoads, AHardwareAddressTwoReportIsWrittenToNeither) {
    const std::string mac = MacOf("127.87.46.1");
    CProjectorOnPort victim(Named("127.87.46.1", "ROOM-461"));
    CProjectorOnPort impostor(Named("127.87.46.2", "ROOM-462", mac));
    const std::filesystem::path state = ::testing::TempDir() + "gate-roads-state";
    std::filesystem::create_directories(state);
    CliSetup setup;
    setup.environment = {{"LANTERNA_LANG", "en"}, {"XDG_STATE_HOME", state.string()}};
    // A history entry kept for the victim's hardware address.
    ASSERT_EQ(RunCli({"set", "127.87.46.1", "community=lab2"}, setup).status, 0);
    const std::size_t before = SetsIn(victim.Log());
    const std::string file = SettingsFileOf(mac, "gate-roads-identity.ini");
    const CTestFile rows("gate-roads-identity.csv", "hardwareAddress,community\n" + mac + ",lab3\n");
    const CTestFile targets("gate-roads-targets", "127.87.46.1\n127.87.46.2\n");
    const std::vector<std::vector<std::string>> roads = {
        {"undo", mac, "--targets", targets.path, "--dry-run"},
        {"undo", mac, "--targets", targets.path},
        {"provision", rows.path, "127.87.46.1-2"},
        {"restore", file, "127.87.46.1-2"},
        {"apply", file, "127.87.46.1-2"},
    };
    for (const std::vector<std::string>& args : roads) {
        SCOPED_TRACE(args[0] + " " + args.back());
        const CliRun run = RunCli(args, setup);
        EXPECT_EQ(run.status, 1) << run.out << run.err;
        EXPECT_TRUE(Contains(run.out + run.err, "127.87.46.2")) << run.out << run.err;
        EXPECT_FALSE(Contains(run.out, "lab2")) << "nothing of the entry is shown";
    }
    std::filesystem::remove(file);
    std::filesystem::remove_all(state);
    EXPECT_EQ(SetsIn(victim.Log()), before) << "nothing after the first set";
    EXPECT_EQ(SetsIn(impostor.Log()), 0U);
}

}  // namespace
}  // namespace lanterna::test
