// The real lanterna on a display of its own (Xvfb), inside a private network of simulated
// projectors: its first refresh finds them all, a second start only raises the first, and
// "/debug" puts the five demonstration projectors in front. Every broadcast stays inside the
// test's namespaces. A screenshot of the main window is kept as a test artifact.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/netns/ChildProcess.h"
#include "tests/support/netns/TestNetwork.h"

namespace lanterna::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kXvfb = "/usr/bin/Xvfb";

void PrintFigure(const std::string& text) {
    std::printf("figure: %s\n", text.c_str());
    std::fflush(stdout);
}

class MainWindowNetwork : public testing::Test {
  protected:
    void SetUp() override {
        if (access(kXvfb, X_OK) != 0) {
            GTEST_SKIP() << "Xvfb is not installed";
        }
        std::string pattern =
            (std::filesystem::temp_directory_path() / "lanterna-e2e-XXXXXX").string();
        home = mkdtemp(pattern.data());
        std::filesystem::permissions(home, std::filesystem::perms::owner_all);
        network = std::make_unique<CTestNetwork>("mw");
        ASSERT_TRUE(network->Create()) << network->Error();
        ASSERT_TRUE(network->AddHost("client", {"10.79.0.1/16"})) << network->Error();
        ASSERT_TRUE(network->AddHost(
            "proj", {"10.79.1.1/16", "10.79.1.2/16", "10.79.1.3/16", "10.79.1.4/16", "10.79.1.5/16",
                     "10.79.1.11/16", "10.79.1.12/16", "10.79.1.13/16"}))
            << network->Error();
    }

    void TearDown() override {
        programs.clear();
        network.reset();
        if (!home.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(home, ignored);
        }
    }

    void StartProjectors(std::vector<std::string> args, int count = 1) {
        std::vector<std::string> argv{SIM_PROGRAM, "--broadcast", "--lifetime", "180"};
        argv.insert(argv.end(), args.begin(), args.end());
        auto program = std::make_unique<CBackgroundProgram>();
        ASSERT_TRUE(program->Start(network->Namespace("proj"), argv));
        ASSERT_EQ(program->WaitForLines("listening on", count, 20s), count);
        programs.push_back(std::move(program));
    }

    // Xvfb in the client's namespace; it picks a display number that is free and prints it
    // once it takes connections.
    void StartDisplay() {
        auto xvfb = std::make_unique<CBackgroundProgram>();
        ASSERT_TRUE(xvfb->Start(
            network->Namespace("client"),
            {kXvfb, "-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp"}));
        const bool ready = xvfb->WaitForLines("", 1, 30s) == 1;
        display = ":" + xvfb->LastLine("");
        programs.push_back(std::move(xvfb));
        ASSERT_TRUE(ready) << "Xvfb did not start";
    }

    std::vector<std::string> Environment() const {
        return {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb", "XDG_CONFIG_HOME=" + home + "/config",
                "XDG_RUNTIME_DIR=" + home, "HOME=" + home};
    }

    // lanterna with its diagnostic lines on the standard output the test reads.
    CBackgroundProgram& StartLanterna(const std::string& arguments = "") {
        std::vector<std::string> argv{"/usr/bin/env"};
        for (const std::string& variable : Environment()) {
            argv.push_back(variable);
        }
        argv.insert(
            argv.end(),
            {"/bin/sh", "-c", std::string("exec ") + LANTERNA_PROGRAM + " " + arguments + " 2>&1"});
        auto program = std::make_unique<CBackgroundProgram>();
        EXPECT_TRUE(program->Start(network->Namespace("client"), argv));
        programs.push_back(std::move(program));
        return *programs.back();
    }

    ProgramRun Screenshot(const std::string& path) {
        return RunProgram(network->Namespace("client"), {SCREENSHOT_PROGRAM, path}, 30s,
                          Environment());
    }

    std::unique_ptr<CTestNetwork> network;
    std::vector<std::unique_ptr<CBackgroundProgram>> programs;
    std::string home;
    std::string display;
};

TEST_F(MainWindowNetwork, FindsTheSimulatedProjectorsAndShowsThemInTheWindow) {
    StartProjectors({"--address", "10.79.1.1", "--name", "LOBBY-PJ"});
    StartProjectors(
        {"--address", "10.79.1.2", "--name", "HALL-WL", "--im-type", "22", "--wireless"});
    StartProjectors({"--address", "10.79.1.3", "--name", "BOARDROOM", "--password", "1234"});
    StartProjectors({"--address", "10.79.1.4", "--name", "ANNEX-1", "--no-hello"});
    StartProjectors(
        {"--address", "10.79.1.5", "--name", "TYPE-20", "--im-type", "20", "--no-secondary"});
    StartProjectors({"--address", "10.79.1.11", "--count", "3", "--name", "CLASS"}, 3);
    StartDisplay();

    const auto started = std::chrono::steady_clock::now();
    CBackgroundProgram& lanterna = StartLanterna();
    // Seven projectors: the one of type 20 never reaches the list, the others each once.
    ASSERT_EQ(lanterna.WaitForLines("Refresh : 7 projectors", 1, 60s), 1)
        << "the first refresh did not list the seven projectors";
    const auto refreshed = std::chrono::steady_clock::now();
    PrintFigure(
        "lanterna under Xvfb: start to the first refresh done with 7 projectors " +
        std::to_string(
            std::chrono::duration_cast<std::chrono::milliseconds>(refreshed - started).count()) +
        " ms");

    std::filesystem::create_directories(ARTIFACT_FOLDER);
    const std::string shot = std::string(ARTIFACT_FOLDER) + "/main-window.png";
    std::filesystem::remove(shot);
    const ProgramRun screenshot = Screenshot(shot);
    ASSERT_EQ(screenshot.exitStatus, 0) << screenshot.err;
    ASSERT_TRUE(std::filesystem::exists(shot));
    EXPECT_GT(std::filesystem::file_size(shot), 5000u) << "an empty screen compresses smaller";
    std::printf("artifact: %s\n", shot.c_str());

    // A second start only asks the first to come to the front, and ends.
    std::vector<std::string> second{LANTERNA_PROGRAM};
    const ProgramRun again = RunProgram(network->Namespace("client"), second, 20s, Environment());
    EXPECT_EQ(again.exitStatus, 0) << again.err;
    EXPECT_EQ(again.err.find("Refresh :"), std::string::npos) << "the second start refreshed";
}

TEST_F(MainWindowNetwork, DebugModeListsTheDemonstrationProjectorsBeforeTheFoundOnes) {
    StartProjectors({"--address", "10.79.1.1", "--name", "LOBBY-PJ"});
    StartDisplay();
    CBackgroundProgram& lanterna = StartLanterna("/DEBUG");
    EXPECT_EQ(lanterna.WaitForLines("Refresh : 6 projectors", 1, 60s), 1);
}

}  // namespace
}  // namespace lanterna::test
