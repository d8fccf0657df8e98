// lanternactl on a building's projectors: thirty addresses in a private network of namespaces
// (wired, wireless, type 22, one with a password, one where nothing answers), the real
// programs on both sides. Every packet stays inside the test's namespaces.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "tests/support/netns/ChildProcess.h"
#include "tests/support/netns/TestNetwork.h"

namespace lanterna::test {
namespace {

using namespace std::chrono_literals;

constexpr int kAddresses = 30;
const std::string kLocked = "10.78.1.29";

std::string Address(int i) {
    return "10.78.1." + std::to_string(i);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::size_t CountLines(const std::string& text, std::string_view part) {
    std::size_t count = 0;
    for (const std::string& line : Lines(text)) {
        count += line.find(part) != std::string::npos ? 1 : 0;
    }
    return count;
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

class FleetNetwork : public testing::Test {
  protected:
    void SetUp() override {
        folder = testing::TempDir() + "lanterna-fleet-" + std::to_string(getpid()) + "/";
        mkdir(folder.c_str(), 0700);
        network = std::make_unique<CTestNetwork>("flt");
        ASSERT_TRUE(network->Create()) << network->Error();
        ASSERT_TRUE(network->AddHost("client", {"10.78.0.1/16"})) << network->Error();
        std::vector<std::string> addresses;
        for (int i = 1; i <= kAddresses; ++i) {
            addresses.push_back(Address(i) + "/16");
        }
        ASSERT_TRUE(network->AddHost("proj", addresses)) << network->Error();
        // 20 wired rooms, 5 wireless labs, 3 type-22 halls, one office with a password; .30 is
        // an address without a projector.
        Start({"--address", Address(1), "--count", "20", "--name", "ROOM"}, 20);
        Start({"--address", Address(21), "--count", "5", "--name", "LAB", "--wireless"}, 5);
        Start({"--address", Address(26), "--count", "3", "--name", "HALL", "--im-type", "22",
               "--wireless"},
              3);
        Start({"--address", kLocked, "--name", "OFFICE", "--password", "secret"}, 1);
    }

    void Start(std::vector<std::string> args, int count) {
        std::vector<std::string> argv{SIM_PROGRAM, "--broadcast", "--lifetime", "180"};
        argv.insert(argv.end(), args.begin(), args.end());
        auto program = std::make_unique<CBackgroundProgram>();
        ASSERT_TRUE(program->Start(network->Namespace("proj"), argv));
        ASSERT_EQ(program->WaitForLines("listening on", count, 20s), count);
        programs.push_back(std::move(program));
    }

    std::string File(const std::string& name, std::string_view content) {
        const std::string path = folder + name;
        std::ofstream(path) << content;
        chmod(path.c_str(), 0600);
        return path;
    }

    ProgramRun Lanternactl(std::vector<std::string> args) {
        args.insert(args.begin(), LANTERNACTL);
        return RunProgram(network->Namespace("client"), args, 60s);
    }

    void TearDown() override {
        programs.clear();
        network.reset();
        std::system(("rm -rf '" + folder + "'").c_str());
    }

    std::string folder;
    std::unique_ptr<CTestNetwork> network;
    std::vector<std::unique_ptr<CBackgroundProgram>> programs;
};

TEST_F(FleetNetwork, EverythingTheSearchFindsIsReadAtOnce) {
    const ProgramRun all = Lanternactl({"read", "--all", "-j", "32", "--json"});
    EXPECT_EQ(all.exitStatus, 1) << "the office needs a password";
    const auto read = nlohmann::json::parse(all.out);
    ASSERT_EQ(read.size(), 29U) << all.out;
    std::map<std::string, int> types;
    for (const auto& target : read) {
        if (target["address"] == kLocked) {
            EXPECT_EQ(target["outcome"], "needs a password");
            continue;
        }
        EXPECT_EQ(target["outcome"], "read") << target;
        types[target["record"]["wirelessActive"] == 1 ? "wireless" : "wired"] += 1;
        if (target["record"]["imType"] == 22) {
            types["type 22"] += 1;
            EXPECT_EQ(target["record"]["essid"], "PROJ-LAN");
        }
    }
    EXPECT_EQ(types, (std::map<std::string, int>{{"wired", 20}, {"wireless", 8}, {"type 22", 3}}));
    PrintFigure("29 projectors: read --all -j 32 (search included) " + Seconds(all.wall));
}

// The cells of a CSV line without quotes (the hardware addresses and settings used here have
// none).
std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    std::istringstream stream(line);
    for (std::string cell; std::getline(stream, cell, ',');) {
        cells.push_back(cell);
    }
    return cells;
}

TEST_F(FleetNetwork, ProvisionBackUpDriftAndRestoreASite) {
    const std::string book = File("passwords", kLocked + " secret\n");
    const std::vector<std::string> site = {"--all", "--passwords", book, "-j", "32",
                                           "--wait", "2"};
    const auto with = [&site](std::vector<std::string> args) {
        args.insert(args.end(), site.begin(), site.end());
        return args;
    };

    // ---- the hardware addresses from the inventory, a list of names and addresses back ----
    const ProgramRun inventory = Lanternactl(with({"inventory", "--csv", "--settable"}));
    ASSERT_EQ(inventory.exitStatus, 0) << inventory.err;
    const std::vector<std::string> rows = Lines(inventory.out);
    ASSERT_EQ(rows.size(), 30U) << inventory.out;
    ASSERT_TRUE(rows[0].starts_with("hardwareAddress,address,projectorName,")) << rows[0];
    std::string list = "hardwareAddress,projectorName,ipAddress,subnetMask,gateway\n";
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const std::vector<std::string> cells = Cells(rows[i]);
        list += cells[0] + ",RM-" + std::to_string(i) + "," + cells[1] +
                ",255.255.0.0,10.78.0.254\n";
    }
    const ProgramRun provision =
        Lanternactl(with({"provision", File("site.csv", list)}));
    EXPECT_EQ(provision.exitStatus, 0) << provision.out << provision.err;
    EXPECT_NE(provision.out.find("29 targets: 29 set\n"), std::string::npos) << provision.out;
    PrintFigure("29 projectors: provision from a CSV (search and reads included) " +
                Seconds(provision.wall));

    // ---- a backup, five changed, the drift found and put back ----
    const std::string backups = folder + "backups";
    mkdir(backups.c_str(), 0700);
    const ProgramRun backup = Lanternactl(with({"backup", backups, "--json"}));
    ASSERT_EQ(backup.exitStatus, 0) << backup.err;
    const auto saved = nlohmann::json::parse(backup.out);
    ASSERT_EQ(saved.size(), 29U);
    const std::string run = saved[0]["folder"];
    for (std::size_t i = 0; i < saved.size(); ++i) {
        EXPECT_EQ(saved[i]["name"], "RM-" + std::to_string(i + 1)) << "the provisioned name";
    }
    PrintFigure("29 projectors: backup " + Seconds(backup.wall));

    const ProgramRun change = Lanternactl({"set", Address(1) + "-5", "community=legacy1"});
    ASSERT_EQ(change.exitStatus, 0) << change.out << change.err;

    const ProgramRun drift = Lanternactl(with({"diff", run}));
    EXPECT_EQ(drift.exitStatus, 1) << drift.out << drift.err;
    EXPECT_EQ(Lines(drift.out).size(), 5U) << drift.out;
    EXPECT_EQ(CountLines(drift.out, ": community: public here, legacy1 in 10.78.1."), 5U)
        << drift.out;

    const ProgramRun restore = Lanternactl(with({"restore", run}));
    EXPECT_EQ(restore.exitStatus, 0) << restore.out << restore.err;
    EXPECT_NE(restore.out.find("29 targets: 5 set, 24 unchanged\n"), std::string::npos)
        << restore.out;
    PrintFigure("29 projectors: restore of a backup, 5 changed " + Seconds(restore.wall));

    const ProgramRun same = Lanternactl(with({"diff", run}));
    EXPECT_EQ(same.exitStatus, 0) << same.out << same.err;
    EXPECT_EQ(same.out, "");

    // ---- a bad template on three, found against it through the search ----
    const std::string bad = File("bad.ini", "[FILE]\nNM_INIVER=200\n[SNMP]\nNM_COMMUNITY=wrong1\n");
    const ProgramRun applied = Lanternactl({"apply", "--template", bad, Address(6) + "-8"});
    ASSERT_EQ(applied.exitStatus, 0) << applied.out << applied.err;
    const ProgramRun wrong = Lanternactl(with({"diff", "--template", bad}));
    EXPECT_EQ(wrong.exitStatus, 1) << wrong.out << wrong.err;
    EXPECT_EQ(CountLines(wrong.out, ": community: public here, wrong1 in "), 26U) << wrong.out;
}

}  // namespace
}  // namespace lanterna::test
