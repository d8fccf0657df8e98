// The real lanterna driven through the desktop accessibility interface, as a screen reader's
// user would: in a private network of ten simulated projectors (one locked by a password), a
// driver that knows the controls only by role and accessible name selects four of them after the
// search, applies a settings file from the popup menu through the file dialog, answers the
// password prompt and reads the preview and the results. The projectors' command logs then say
// what reached each: the settings that differ, to the four alone.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/netns/ChildProcess.h"
#include "tests/support/netns/TestNetwork.h"

namespace lanterna::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kLockedAddress = "10.76.1.10";
constexpr const char* kPassword = "secret";

// Keys a new simulator already holds (port, second addresses) change nothing; the name and the
// addresses are the projector's own and stay.
constexpr const char* kTemplate =
    "[COMMON]\nNM_PROJECTORNAME=TEMPLATE\nNM_MACADDR=\nNM_IMTYPE=21\n"
    "[FILE]\nNM_INIVER=200\n"
    "[NETWORK]\nNM_DHCP=0\nNM_IP=10.76.9.9\nNM_SUBNET=255.255.0.0\nNM_GATEWAY=0.0.0.0\n"
    "NM_DNS1=10.76.0.53\nNM_DNS2=0.0.0.0\n"
    "[SMTP]\nNM_SMTPALART=1\nNM_SMTPSERVER=10.76.0.25\nNM_SMTPPORT=25\n"
    "NM_TO1=av-team@example.org\nNM_TO2=\nNM_TO3=\nNM_TO1EVENT=3\nNM_TO2EVENT=0\nNM_TO3EVENT=0\n"
    "[SNMP]\nNM_TRAP1=10.76.0.162\nNM_TRAP2=0.0.0.0\nNM_COMMUNITY=site1\n";

// What the template changes on a new simulator: the preview's row (the setting as the dialogs
// name it) and the line that sets it.
struct TemplateChange {
    const char* setting;
    const char* now;
    const char* after;
    const char* line;
};
constexpr TemplateChange kChanges[] = {
    {"Preferred DNS server", "0.0.0.0", "10.76.0.53", "NWDNS 10.76.0.53 0.0.0.0"},
    {"Mail notification", "off", "on", "NWSMTPACT ON"},
    {"SMTP server", "0.0.0.0", "10.76.0.25", "NWSMTPSRV 10.76.0.25"},
    {"Recipient 1 mail address", "", "av-team@example.org", "NWSMTPTO1 av-team@example.org"},
    {"Recipient 1 events", "none", "lamp-replacement,no-signal", "NWSMTPEVT1 0003 0000"},
    {"Trap address 1", "0.0.0.0", "10.76.0.162", "NWTRAPIP1 10.76.0.162"},
    {"Community name", "public", "site1", "NWCNAME site1"},
};

const std::vector<std::string> kSelected{"ROOM-2", "ROOM-5", "ROOM-7", "OFFICE"};

std::string AddressOf(const std::string& name) {
    return name == "OFFICE" ? kLockedAddress : "10.76.1." + name.substr(name.find('-') + 1);
}

std::string Shown(const std::string& name) {
    return name + " (" + AddressOf(name) + ")";
}

// The driver's records of one kind ("change", "result", "prompt"), their fields after the kind.
std::vector<std::vector<std::string>> Records(const std::string& out, const std::string& kind) {
    std::vector<std::vector<std::string>> records;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) {
            fields.push_back(cell);
        }
        if (!fields.empty() && fields.front() == kind) {
            fields.erase(fields.begin());
            records.push_back(fields);
        }
    }
    return records;
}

class AccessibleApply : public testing::Test {
  protected:
    void SetUp() override {
        home = std::string(HOME_FOLDER) + "-" + std::to_string(getpid());
        std::filesystem::remove_all(home);
        std::filesystem::create_directories(home + "/config");
        std::filesystem::permissions(home, std::filesystem::perms::owner_all);
        network = std::make_unique<CTestNetwork>("ax");
        ASSERT_TRUE(network->Create()) << network->Error();
        ASSERT_TRUE(network->AddHost("client", {"10.76.0.1/16"})) << network->Error();
        std::vector<std::string> addresses;
        for (int host = 1; host <= 10; ++host) {
            addresses.push_back("10.76.1." + std::to_string(host) + "/16");
        }
        ASSERT_TRUE(network->AddHost("proj", addresses)) << network->Error();
    }

    void TearDown() override {
        programs.clear();
        network.reset();
        std::error_code ignored;
        std::filesystem::remove_all(home, ignored);
    }

    void StartProjectors(const std::string& log, std::vector<std::string> args, int count) {
        std::vector<std::string> argv{SIM_PROGRAM, "--broadcast", "--lifetime",
                                      "300",       "--log",       home + "/" + log};
        argv.insert(argv.end(), args.begin(), args.end());
        auto program = std::make_unique<CBackgroundProgram>();
        ASSERT_TRUE(program->Start(network->Namespace("proj"), argv));
        ASSERT_EQ(program->WaitForLines("listening on", count, 20s), count);
        programs.push_back(std::move(program));
    }

    // Xvfb in the client's namespace on a free display it reports once it takes connections;
    // no reset when its last client leaves, so that the accessibility bus coming and going
    // never shuts the window out.
    void StartDisplay() {
        auto xvfb = std::make_unique<CBackgroundProgram>();
        ASSERT_TRUE(xvfb->Start(network->Namespace("client"),
                                {"/usr/bin/Xvfb", "-displayfd", "1", "-noreset", "-screen", "0",
                                 "1280x1024x24", "-nolisten", "tcp"}));
        const bool ready = xvfb->WaitForLines("", 1, 30s) == 1;
        display = ":" + xvfb->LastLine("");
        programs.push_back(std::move(xvfb));
        ASSERT_TRUE(ready) << "Xvfb did not start";
    }

    // Command lines by projector address: the rooms' log prefixes each with its address, the
    // office's log is the office's alone.
    std::map<std::string, std::vector<std::string>> CommandLines() const {
        std::map<std::string, std::vector<std::string>> lines;
        std::ifstream rooms(home + "/rooms.log");
        for (std::string line; std::getline(rooms, line);) {
            const std::size_t space = line.find(' ');
            lines[line.substr(0, space)].push_back(line.substr(space + 1));
        }
        std::ifstream office(home + "/office.log");
        for (std::string line; std::getline(office, line);) {
            lines[kLockedAddress].push_back(line);
        }
        return lines;
    }

    std::unique_ptr<CTestNetwork> network;
    std::vector<std::unique_ptr<CBackgroundProgram>> programs;
    std::string home;
    std::string display;
};

TEST_F(AccessibleApply, ATemplateReachesTheFourSelectedAndNoneOfTheOthers) {
    StartProjectors("rooms.log", {"--address", "10.76.1.1", "--count", "9", "--name", "ROOM"}, 9);
    StartProjectors("office.log",
                    {"--address", kLockedAddress, "--name", "OFFICE", "--password", kPassword}, 1);
    StartDisplay();
    const std::string templateFile = home + "/site.ini";
    std::ofstream(templateFile) << kTemplate;

    std::vector<std::string> argv{"/usr/bin/env",
                                  "DISPLAY=" + display,
                                  "QT_QPA_PLATFORM=xcb",
                                  "QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1",
                                  "HOME=" + home,
                                  "XDG_CONFIG_HOME=" + home + "/config",
                                  "XDG_RUNTIME_DIR=" + home,
                                  "XDG_STATE_HOME=" + home + "/state",
                                  "LANTERNA_LANG=en",
                                  "/usr/bin/dbus-run-session",
                                  "--",
                                  "/usr/bin/python3",
                                  DRIVER,
                                  LANTERNA_PROGRAM,
                                  templateFile,
                                  kPassword};
    argv.insert(argv.end(), kSelected.begin(), kSelected.end());
    const ProgramRun run = RunProgram(network->Namespace("client"), argv, 200s);
    ASSERT_EQ(run.exitStatus, 0) << run.out << run.err;
    std::printf("figure: search, selection, preview, apply and results through AT-SPI %.1f s\n",
                static_cast<double>(run.wall.count()) / 1000.0);

    // The locked projector was asked for once, by a prompt that names it.
    EXPECT_EQ(Records(run.out, "prompt"), (std::vector<std::vector<std::string>>{
                                              {"Enter the password of " + Shown("OFFICE") + "."}}));

    // The preview lists exactly the settings that differ, for each of the four.
    std::set<std::vector<std::string>> expectedChanges;
    std::vector<std::vector<std::string>> expectedResults;
    for (const std::string& name : kSelected) {
        for (const TemplateChange& change : kChanges) {
            expectedChanges.insert({Shown(name), change.setting, change.now, change.after});
        }
        expectedResults.push_back(
            {Shown(name), "set",
             std::to_string(std::size(kChanges)) + " command lines sent; verified"});
    }
    // Each table's column headers as the table interface gives them.
    EXPECT_EQ(Records(run.out, "change columns"),
              (std::vector<std::vector<std::string>>{{"Projector", "Setting", "Now", "After"}}));
    EXPECT_EQ(Records(run.out, "result columns"),
              (std::vector<std::vector<std::string>>{{"Projector", "Outcome", "Detail"}}));
    const auto changes = Records(run.out, "change");
    EXPECT_EQ(std::set<std::vector<std::string>>(changes.begin(), changes.end()), expectedChanges);
    EXPECT_EQ(changes.size(), expectedChanges.size()) << "a change listed twice";
    auto results = Records(run.out, "result");
    std::sort(results.begin(), results.end());
    std::sort(expectedResults.begin(), expectedResults.end());
    EXPECT_EQ(results, expectedResults);

    // The window has ended, so every link is closed: the four received the template's lines
    // (and the reads around them); the other six no command line at all, the search's hello
    // datagrams being all that reached them.
    std::vector<std::string> expectedSets;
    for (const TemplateChange& change : kChanges) {
        expectedSets.push_back(change.line);
    }
    std::sort(expectedSets.begin(), expectedSets.end());
    const auto received = CommandLines();
    for (int host = 1; host <= 10; ++host) {
        const std::string address = "10.76.1." + std::to_string(host);
        const bool selected =
            std::any_of(kSelected.begin(), kSelected.end(),
                        [&](const std::string& n) { return AddressOf(n) == address; });
        const auto found = received.find(address);
        const std::vector<std::string> lines =
            found == received.end() ? std::vector<std::string>{} : found->second;
        if (!selected) {
            EXPECT_TRUE(lines.empty()) << address << " received " << lines.front();
            continue;
        }
        std::vector<std::string> sets;
        std::copy_if(lines.begin(), lines.end(), std::back_inserter(sets),
                     [](const std::string& line) { return line.find('?') == std::string::npos; });
        std::sort(sets.begin(), sets.end());
        EXPECT_EQ(sets, expectedSets) << address;
    }
}

}  // namespace
}  // namespace lanterna::test
