// A refresh's search over a private network: simulated projectors in namespaces of their own,
// lanternactl in a client namespace. Every broadcast stays inside the test's namespaces.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/netns/ChildProcess.h"
#include "tests/support/netns/TestNetwork.h"

namespace lanterna::test {
namespace {

using namespace std::chrono_literals;

const std::string kClientAddress = "10.77.0.1/16";

// One row of "lanternactl discover --csv".
struct Found {
    std::string address;
    std::string name;
    int imType = 0;
    std::string foundBy;
    auto operator<=>(const Found&) const = default;
};

std::vector<Found> ParseDiscoverRows(const std::string& out) {
    std::vector<Found> found;
    std::istringstream lines(out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "address,name,imType,foundBy");
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        Found entry;
        std::string type;
        std::getline(fields, entry.address, ',');
        std::getline(fields, entry.name, ',');
        std::getline(fields, type, ',');
        std::getline(fields, entry.foundBy, ',');
        entry.imType = std::stoi(type);
        found.push_back(entry);
    }
    return found;
}

void PrintFigure(const std::string& text) {
    std::printf("figure: %s\n", text.c_str());
    std::fflush(stdout);
}

std::string Seconds(std::chrono::milliseconds wall) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", static_cast<double>(wall.count()) / 1000.0);
    return text;
}

class DiscoveryNetwork : public testing::Test {
  protected:
    // The network must be built before any program starts and removed after all have stopped:
    // `network` is declared first, so it is destroyed last.
    void Build(const std::string& tag) {
        network = std::make_unique<CTestNetwork>(tag);
        ASSERT_TRUE(network->Create()) << network->Error();
        ASSERT_TRUE(network->AddHost("client", {kClientAddress})) << network->Error();
    }

    void AddHost(const std::string& host, const std::vector<std::string>& addresses) {
        ASSERT_TRUE(network->AddHost(host, addresses)) << network->Error();
    }

    // Simulated projectors in `host`, receiving broadcasts; `count` of them must report ready.
    void StartProjectors(const std::string& host, std::vector<std::string> args, int count = 1) {
        std::vector<std::string> argv{SIM_PROGRAM, "--broadcast", "--lifetime", "180"};
        argv.insert(argv.end(), args.begin(), args.end());
        auto program = std::make_unique<CBackgroundProgram>();
        ASSERT_TRUE(program->Start(network->Namespace(host), argv));
        ASSERT_EQ(program->WaitForLines("listening on", count, 20s), count)
            << "simulated projectors did not start";
        programs.push_back(std::move(program));
    }

    ProgramRun Lanternactl(const std::vector<std::string>& args,
                           const std::vector<std::string>& environment = {}) {
        std::vector<std::string> argv{LANTERNACTL};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunProgram(network->Namespace("client"), argv, 60s, environment);
    }

    void TearDown() override {
        programs.clear();
        network.reset();
    }

    std::unique_ptr<CTestNetwork> network;
    std::vector<std::unique_ptr<CBackgroundProgram>> programs;
};

// ---- three projectors, and faults that must not reach the list ---------------------------------

TEST_F(DiscoveryNetwork, ThreeProjectorsEachOnceWithTheirTypesAndReadable) {
    Build("three");
    AddHost("proj", {"10.77.1.1/16", "10.77.1.2/16", "10.77.1.3/16", "10.77.1.4/16", "10.77.1.5/16",
                     "10.77.1.6/16", "10.77.1.7/16", "10.77.1.8/16"});
    // Answers both searches under the same name: listed once, with the hello's type.
    StartProjectors(
        "proj", {"--address", "10.77.1.1", "--name", "ROOM-A", "--im-type", "22", "--wireless"});
    StartProjectors("proj", {"--address", "10.77.1.2", "--name", "ROOM-B", "--password", "secret",
                             "--no-secondary"});
    StartProjectors("proj", {"--address", "10.77.1.3", "--name", "ROOM-C", "--no-hello"});
    // None of these may appear.
    StartProjectors("proj", {"--address", "10.77.1.4", "--name", "TYPE-20", "--im-type", "20",
                             "--no-secondary"});
    StartProjectors("proj", {"--address", "10.77.1.5", "--name", "COUNT-2", "--hello-header-count",
                             "2", "--no-secondary"});
    StartProjectors("proj", {"--address", "10.77.1.6", "--name", "OTHER-PORT", "--hello-other-port",
                             "--no-secondary"});
    StartProjectors("proj", {"--address", "10.77.1.7", "--name", "STATUS-0", "--hello-status", "0",
                             "--no-secondary"});
    StartProjectors("proj", {"--address", "10.77.1.8", "--name", "EMPTY", "--secondary-empty-name",
                             "--no-hello"});

    const ProgramRun discover = Lanternactl({"discover", "--csv"});
    ASSERT_EQ(discover.exitStatus, 0) << discover.err;
    const std::vector<Found> found = ParseDiscoverRows(discover.out);
    const std::vector<Found> expected{
        {"10.77.1.1", "ROOM-A", 22, "both"},
        {"10.77.1.2", "ROOM-B", 21, "hello"},
        {"10.77.1.3", "ROOM-C", 0, "secondary"},
    };
    EXPECT_EQ(found, expected) << discover.out;
    PrintFigure("three projectors and five faulty ones: refresh took " + Seconds(discover.wall));

    // Each one found is opened and read as the window opens it.
    const ProgramRun wireless = Lanternactl({"read", "10.77.1.1", "--json"});
    ASSERT_EQ(wireless.exitStatus, 0) << wireless.err;
    const auto wirelessRecord = nlohmann::json::parse(wireless.out);
    EXPECT_EQ(wirelessRecord["projectorName"], "ROOM-A");
    EXPECT_EQ(wirelessRecord["ipAddress"], "10.77.1.1");
    EXPECT_EQ(wirelessRecord["wirelessActive"], 1);
    const ProgramRun locked = Lanternactl({"read", "10.77.1.2", "--json"});
    EXPECT_EQ(locked.exitStatus, 1) << "no password given";
    EXPECT_EQ(locked.out, "");
    const ProgramRun unlocked =
        Lanternactl({"read", "10.77.1.2", "--json"}, {"LANTERNA_PASSWORD=secret"});
    ASSERT_EQ(unlocked.exitStatus, 0) << unlocked.err;
    const auto lockedRecord = nlohmann::json::parse(unlocked.out);
    EXPECT_EQ(lockedRecord["projectorName"], "ROOM-B");
    EXPECT_EQ(lockedRecord["wirelessActive"], 0);
    const ProgramRun secondaryOnly = Lanternactl({"read", "10.77.1.3", "--json"});
    ASSERT_EQ(secondaryOnly.exitStatus, 0) << secondaryOnly.err;
    EXPECT_EQ(nlohmann::json::parse(secondaryOnly.out)["projectorName"], "ROOM-C");

    const ProgramRun probe = Lanternactl({"probe", "10.77.1.1"});
    EXPECT_EQ(probe.exitStatus, 0) << probe.err;
    EXPECT_EQ(probe.out, "ROOM-A\t22\n");
}

// ---- same address, two names --------------------------------------------------------------------

TEST_F(DiscoveryNetwork, TwoProjectorsOnOneAddressWithDifferentNamesAreBothListed) {
    Build("twin");
    AddHost("twina", {"10.77.2.1/16"});
    AddHost("twinb", {"10.77.2.1/16"});
    StartProjectors("twina", {"--address", "10.77.2.1", "--name", "TWIN-A"});
    StartProjectors("twinb", {"--address", "10.77.2.1", "--name", "TWIN-B", "--im-type", "30"});

    const ProgramRun discover = Lanternactl({"discover", "--json"});
    ASSERT_EQ(discover.exitStatus, 0) << discover.err;
    const auto records = nlohmann::json::parse(discover.out);
    ASSERT_TRUE(records.is_array());
    std::set<std::pair<std::string, int>> names;
    for (const auto& record : records) {
        EXPECT_EQ(record["address"], "10.77.2.1");
        EXPECT_EQ(record["foundBy"], "both");
        names.emplace(record["name"], record["imType"]);
    }
    EXPECT_EQ(records.size(), 2U) << "each found by both searches, each listed once";
    const std::set<std::pair<std::string, int>> expected{{"TWIN-A", 21}, {"TWIN-B", 30}};
    EXPECT_EQ(names, expected);
}

// ---- two ways in: the network module's searches and PJLink's --------------------------------------

TEST_F(DiscoveryNetwork, OneRowPerProjectorWhicheverSearchesFoundIt) {
    Build("pjl");
    // Each in a namespace of its own: PJLink's search answer leaves from the host's address.
    AddHost("hall", {"10.77.3.1/16"});
    AddHost("lamp", {"10.77.3.2/16"});
    AddHost("room", {"10.77.3.3/16"});
    StartProjectors("hall", {"--address", "10.77.3.1", "--name", "HALL-1F", "--pjlink"});
    StartProjectors("lamp", {"--address", "10.77.3.2", "--name", "ROOM-202", "--pjlink",
                             "--no-hello", "--no-secondary"});
    StartProjectors("room", {"--address", "10.77.3.3", "--name", "ROOM-203", "--no-hello"});

    const ProgramRun discover = Lanternactl({"discover", "--csv"});
    ASSERT_EQ(discover.exitStatus, 0) << discover.err;
    const std::vector<Found> expected{
        {"10.77.3.1", "HALL-1F", 21, "both+pjlink"},
        {"10.77.3.2", "", 0, "pjlink"},
        {"10.77.3.3", "ROOM-203", 0, "secondary"},
    };
    EXPECT_EQ(ParseDiscoverRows(discover.out), expected) << discover.out;

    // PJLink's commands take the projector PJLink alone found; the module's commands do not.
    const ProgramRun status = Lanternactl({"status", "--all", "--csv"});
    EXPECT_NE(status.out.find("10.77.3.2,ROOM-202,on"), std::string::npos) << status.out;
    const ProgramRun probe = Lanternactl({"probe", "--all"});
    EXPECT_EQ(probe.out.find("10.77.3.2"), std::string::npos) << probe.out;
}

// ---- nobody there -------------------------------------------------------------------------------

TEST_F(DiscoveryNetwork, NoProjectorEndsAfterFiveSecondsWithSuccess) {
    Build("none");
    const ProgramRun discover = Lanternactl({"discover"});
    EXPECT_EQ(discover.exitStatus, 0) << discover.err;
    EXPECT_EQ(discover.out, "ADDRESS  NAME  TYPE  FOUND BY\n") << "the header alone";
    EXPECT_EQ(discover.err, "");
    EXPECT_GE(discover.wall, 5000ms);
    PrintFigure("no projector: refresh took " + Seconds(discover.wall) + ", client CPU " +
                std::to_string(discover.cpu.count() / 1000) + " ms");
}

// ---- many at once -------------------------------------------------------------------------------

TEST_F(DiscoveryNetwork, TwoHundredProjectorsAnsweringOneBroadcastAreAllCollected) {
    constexpr int kProjectors = 200;
    Build("many");
    std::vector<std::string> addresses;
    for (int i = 1; i <= kProjectors; ++i) {
        addresses.push_back("10.77.3." + std::to_string(i) + "/16");
    }
    AddHost("proj", addresses);
    StartProjectors("proj", {"--address", "10.77.3.1", "--count", std::to_string(kProjectors)},
                    kProjectors);

    const ProgramRun discover = Lanternactl({"discover", "--csv"});
    ASSERT_EQ(discover.exitStatus, 0) << discover.err;
    const std::vector<Found> found = ParseDiscoverRows(discover.out);
    std::set<std::string> byHello;
    std::set<std::string> bySecondary;
    std::set<std::string> all;
    for (const Found& entry : found) {
        all.insert(entry.address);
        if (entry.foundBy == "hello" || entry.foundBy == "both") {
            byHello.insert(entry.address);
            EXPECT_EQ(entry.imType, 21) << entry.address;
        }
        if (entry.foundBy == "secondary" || entry.foundBy == "both") {
            bySecondary.insert(entry.address);
        }
    }
    EXPECT_EQ(found.size(), static_cast<std::size_t>(kProjectors)) << "one line per projector";
    EXPECT_EQ(all.size(), static_cast<std::size_t>(kProjectors));
    EXPECT_EQ(byHello.size(), static_cast<std::size_t>(kProjectors)) << "none lost";
    EXPECT_EQ(bySecondary.size(), static_cast<std::size_t>(kProjectors))
        << "the secondary search keeps as many answers as the list holds";
    EXPECT_GE(discover.wall, 5000ms);

    PrintFigure("200 projectors: refresh (start to both searches reported, process included) " +
                Seconds(discover.wall));
    PrintFigure("200 projectors: collected by the hello search " + std::to_string(byHello.size()) +
                " of " + std::to_string(kProjectors) + ", listed " + std::to_string(all.size()) +
                ", secondary records " + std::to_string(bySecondary.size()));
    PrintFigure("200 projectors: client CPU time during the search " +
                std::to_string(discover.cpu.count() / 1000) + " ms");
}

}  // namespace
}  // namespace lanterna::test
