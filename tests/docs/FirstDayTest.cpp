// The README's "a site's first day", run as it stands: four simulated projectors on the
// addresses it names, in a private network of namespaces; every command of the walk-through in
// turn, in the client's namespace and a folder of the test's own; then what the site looks like.
// Needs root for the namespaces; skips itself (77) otherwise.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/netns/ChildProcess.h"
#include "tests/support/netns/TestNetwork.h"

namespace lanterna::test {
namespace {

using namespace std::chrono_literals;

// The walk-through's steps in order: a command to run, or a file to write.
struct Step {
    std::string command;  // one line of a command block
    std::string file;     // the name of a file block, its lines in `content`
    std::string content;
};

// The indented blocks between the walk-through's markers; a block after a "file: NAME" marker
// is that file, every other block's lines are commands.
std::vector<Step> WalkThrough(const std::string& readme) {
    std::ifstream in(readme);
    std::vector<Step> steps;
    bool inside = false;
    std::string nextFile;
    Step* file = nullptr;
    for (std::string line; std::getline(in, line);) {
        if (line == "<!-- first-day: begin -->" || line == "<!-- first-day: end -->") {
            inside = line.find("begin") != std::string::npos;
            continue;
        }
        if (!inside) {
            continue;
        }
        if (line.starts_with("<!-- first-day: file ")) {
            nextFile = line.substr(21, line.size() - 21 - 4);
            continue;
        }
        if (!line.starts_with("    ")) {
            file = line.empty() ? file : nullptr;
            continue;
        }
        if (file == nullptr && !nextFile.empty()) {
            file = &steps.emplace_back(Step{"", nextFile, ""});
            nextFile.clear();
        }
        if (file != nullptr) {
            file->content += line.substr(4) + "\n";
        } else {
            steps.push_back({line.substr(4), "", ""});
        }
    }
    return steps;
}

class FirstDay : public testing::Test {
  protected:
    void SetUp() override {
        folder = testing::TempDir() + "lanterna-first-day-" + std::to_string(getpid());
        mkdir(folder.c_str(), 0700);
        network = std::make_unique<CTestNetwork>("day");
        ASSERT_TRUE(network->Create()) << network->Error();
        ASSERT_TRUE(network->AddHost("client", {"192.0.2.1/24"})) << network->Error();
        ASSERT_TRUE(network->AddHost(
            "site", {"192.0.2.11/24", "192.0.2.12/24", "192.0.2.13/24", "192.0.2.14/24"}))
            << network->Error();
        ASSERT_TRUE(projectors.Start(network->Namespace("site"),
                                     {SIM_PROGRAM, "--broadcast", "--lifetime", "300", "--address",
                                      "192.0.2.11", "--count", "4", "--name", "ROOM"}));
        ASSERT_EQ(projectors.WaitForLines("listening on", 4, 20s), 4);
    }

    // `command` run by bash in the client's namespace, in the test's folder, English spoken.
    ProgramRun Run(const std::string& command) {
        const std::string programs =
            std::string(LANTERNACTL).substr(0, std::string(LANTERNACTL).rfind('/'));
        return RunProgram(network->Namespace("client"),
                          {"/bin/bash", "-c", "cd '" + folder + "' && " + command}, 120s,
                          {"PATH=" + programs + ":/usr/bin:/bin", "LANTERNA_LANG=en",
                           "HOME=" + folder, "XDG_STATE_HOME=" + folder + "/state"});
    }

    std::string folder;
    std::unique_ptr<CTestNetwork> network;
    CBackgroundProgram projectors;
};

TEST_F(FirstDay, TheReadmeWalkThroughRunsAsWritten) {
    const std::vector<Step> steps = WalkThrough(README);
    ASSERT_GE(steps.size(), 10U) << "the walk-through was not found in " << README;
    std::map<std::string, std::string> outputs;
    for (const Step& step : steps) {
        if (!step.file.empty()) {
            std::ofstream(folder + "/" + step.file) << step.content;
            continue;
        }
        const ProgramRun run = Run(step.command);
        EXPECT_EQ(run.exitStatus, 0) << step.command << "\n" << run.out << run.err;
        outputs[step.command] = run.out + run.err;
    }
    EXPECT_NE(outputs["lanternactl discover"].find("192.0.2.14  ROOM-4"), std::string::npos)
        << outputs["lanternactl discover"];
    EXPECT_NE(outputs["lanternactl apply --template site.ini --all"].find(
                  "4 targets: 3 set, 1 unchanged"),
              std::string::npos);
    const std::string& provision = outputs["lanternactl provision rooms.csv --dry-run"];
    EXPECT_NE(provision.find("projectorName:  ROOM-1  ->  HALL-1F"), std::string::npos)
        << provision;
    EXPECT_NE(provision.find("columns that are no setting, left out: Room, Notes"),
              std::string::npos)
        << provision;

    // The site as the walk-through left it: the template everywhere, the names from the
    // spreadsheet but the one put back.
    const ProgramRun site = Run("lanternactl inventory --all --csv");
    ASSERT_EQ(site.exitStatus, 0) << site.err;
    std::istringstream rows(site.out);
    std::vector<std::string> names;
    for (std::string row; std::getline(rows, row);) {
        if (row.starts_with("192.0.2.")) {
            EXPECT_NE(row.find(",192.0.2.162,avteam,"), std::string::npos) << row;
            names.push_back(row.substr(11, row.find(',', 11) - 11));
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"HALL-1F", "ROOM-2", "ROOM-202", "LAB-1"}));
    const ProgramRun backups = Run("ls backups/*/");
    EXPECT_EQ(backups.out.find("index.csv") != std::string::npos, true) << backups.out;
}

}  // namespace
}  // namespace lanterna::test
