// The real lanterna at a site's scale, on a display of its own (Xvfb) with a window manager,
// inside a private network of simulated projectors: maximising the window (its caption's
// maximise button) shows more icons without scrolling, typed text narrows the list, and a
// projector whose power is cut turns "not answering" within a few periods of the background
// greeting (shortened through the program's settings) and comes back when it answers again; a
// projector behind a router is listed beside the local ones through a range of the other
// subnets. Every packet stays inside the test's namespaces. A screenshot of the maximised window
// is kept as a test artifact.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "settings/OtherSubnets.h"
#include "settings/WindowSettings.h"
#include "skin/FrameGeometry.h"
#include "tests/support/netns/ChildProcess.h"
#include "tests/support/netns/TestNetwork.h"

namespace lanterna::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kXvfb = "/usr/bin/Xvfb";
constexpr const char* kOpenbox = "/usr/bin/openbox";
constexpr const char* kXdotool = "/usr/bin/xdotool";

// The first number after `label` in `line`, -1 when there is none.
int NumberAfter(const std::string& line, const std::string& label) {
    std::smatch found;
    const std::regex pattern(label + " ?([0-9]+)");
    return std::regex_search(line, found, pattern) ? std::stoi(found[1]) : -1;
}

// The middle of the main window's maximise button, laid out as the frame lays it out for a
// window of `size`: the point inside it whatever the style's metrics, from the thinnest border
// and smallest caption to the widest and largest.
QPoint MaximizeButtonMiddle(QSize size) {
    skin::FrameStyle style;
    style.caption = style.sysMenu = style.minimizeBox = style.maximizeBox = true;
    style.sizingBorder = true;
    const QRect smallest =
        skin::ComputeFrameGeometry(size, style, {.sizingFrame = 2, .caption = 20}).MaxRect();
    const QRect largest =
        skin::ComputeFrameGeometry(size, style, {.sizingFrame = 4, .caption = 24}).MaxRect();
    return smallest.intersected(largest).center();
}

class SiteNetwork : public testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {kXvfb, kOpenbox, kXdotool}) {
            if (access(tool, X_OK) != 0) {
                GTEST_SKIP() << tool << " is not installed";
            }
        }
        std::string pattern =
            (std::filesystem::temp_directory_path() / "lanterna-site-XXXXXX").string();
        home = mkdtemp(pattern.data());
        std::filesystem::permissions(home, std::filesystem::perms::owner_all);
        network = std::make_unique<CTestNetwork>("ms");
        ASSERT_TRUE(network->Create()) << network->Error();
        ASSERT_TRUE(network->AddHost("client", {"10.78.0.1/16"})) << network->Error();
        std::vector<std::string> addresses;
        for (int host = 1; host <= 41; ++host) {
            addresses.push_back("10.78.1." + std::to_string(host) + "/16");
        }
        ASSERT_TRUE(network->AddHost("proj", addresses)) << network->Error();
    }

    void TearDown() override {
        programs.clear();
        network.reset();
        if (!home.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(home, ignored);
        }
    }

    CBackgroundProgram& Start(const std::string& host, std::vector<std::string> argv) {
        auto program = std::make_unique<CBackgroundProgram>();
        EXPECT_TRUE(program->Start(network->Namespace(host), argv));
        programs.push_back(std::move(program));
        return *programs.back();
    }

    CBackgroundProgram& StartProjectors(std::vector<std::string> args, int count) {
        std::vector<std::string> argv{SIM_PROGRAM, "--broadcast", "--lifetime", "240"};
        argv.insert(argv.end(), args.begin(), args.end());
        CBackgroundProgram& projectors = Start("proj", argv);
        EXPECT_EQ(projectors.WaitForLines("listening on", count, 20s), count);
        return projectors;
    }

    std::vector<std::string> Environment() const {
        return {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb", "XDG_CONFIG_HOME=" + home + "/config",
                "XDG_RUNTIME_DIR=" + home, "HOME=" + home, "LANTERNA_LANG=en"};
    }

    // Xvfb and openbox in the client's namespace; Xvfb picks a display number that is free and
    // prints it once it takes connections.
    void StartDesktop() {
        CBackgroundProgram& xvfb = Start("client", {kXvfb, "-displayfd", "1", "-screen", "0",
                                                    "1280x1024x24", "-nolisten", "tcp"});
        ASSERT_EQ(xvfb.WaitForLines("", 1, 30s), 1) << "Xvfb did not start";
        display = ":" + xvfb.LastLine("");
        std::vector<std::string> openbox{"/usr/bin/env"};
        for (const std::string& variable : Environment()) {
            openbox.push_back(variable);
        }
        openbox.push_back(kOpenbox);
        Start("client", openbox);
    }

    CBackgroundProgram& StartLanterna() {
        std::vector<std::string> argv{"/usr/bin/env"};
        for (const std::string& variable : Environment()) {
            argv.push_back(variable);
        }
        argv.insert(argv.end(),
                    {"/bin/sh", "-c", std::string("exec ") + LANTERNA_PROGRAM + " 2>&1"});
        return Start("client", argv);
    }

    ProgramRun Xdotool(std::vector<std::string> arguments) {
        std::vector<std::string> argv{kXdotool};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return RunProgram(network->Namespace("client"), argv, 20s, Environment());
    }

    std::unique_ptr<CTestNetwork> network;
    std::vector<std::unique_ptr<CBackgroundProgram>> programs;
    std::string home;
    std::string display;
};

TEST_F(SiteNetwork, MaximisedTheListShowsMoreTypedTextNarrowsItAndSilenceGreysAProjector) {
    // The greeting every second instead of every 30, through the program's own settings.
    ASSERT_EQ(SavePresencePeriod(1000, {home + "/config/lanterna/registry.reg"}), 1);
    // Not a first start: the window opens at its designed size, not at the list's.
    ASSERT_EQ(SaveWindowPlacement({20, 20, 100, 100, false}, {home + "/config/lanterna/registry.reg"}),
              1);
    StartProjectors({"--address", "10.78.1.1", "--count", "40", "--name", "ROOM"}, 40);
    CBackgroundProgram& lab =
        StartProjectors({"--address", "10.78.1.41", "--name", "LAB-WL1"}, 1);
    StartDesktop();
    CBackgroundProgram& lanterna = StartLanterna();
    ASSERT_TRUE(lanterna.WaitForLine("Refresh : 41 projectors", 60s));

    const std::optional<std::string> before = lanterna.WaitForLine("List :", 20s);
    ASSERT_TRUE(before);
    const int inViewBefore = NumberAfter(*before, "List :");
    const ProgramRun window =
        Xdotool({"search", "--sync", "--onlyvisible", "--name", "^Lanterna$"});
    ASSERT_EQ(window.exitStatus, 0) << window.err;
    const std::string id = window.out.substr(0, window.out.find('\n'));
    ASSERT_EQ(Xdotool({"windowactivate", "--sync", id}).exitStatus, 0);
    const ProgramRun geometry = Xdotool({"getwindowgeometry", "--shell", id});
    const QSize size(NumberAfter(geometry.out, "WIDTH="), NumberAfter(geometry.out, "HEIGHT="));
    ASSERT_GT(size.width(), 100) << geometry.out;
    const QPoint maximise = MaximizeButtonMiddle(size);
    ASSERT_EQ(Xdotool({"mousemove", "--window", id, std::to_string(maximise.x()),
                       std::to_string(maximise.y()), "click", "1"})
                  .exitStatus,
              0);
    const std::optional<std::string> after = lanterna.WaitForLine("List :", 20s);
    ASSERT_TRUE(after) << "no resize after a click on the maximise button";
    const int inViewAfter = NumberAfter(*after, "List :");
    std::printf("figure: rows in view %d before, %d maximised (of 44)\n", inViewBefore,
                inViewAfter);
    EXPECT_GT(inViewAfter, inViewBefore);
    EXPECT_GT(inViewAfter, 15) << "the icons beyond the old twelfth cell show without scrolling";

    std::filesystem::create_directories(ARTIFACT_FOLDER);
    const std::string shot = std::string(ARTIFACT_FOLDER) + "/main-window-maximised.png";
    const ProgramRun screenshot = RunProgram(network->Namespace("client"),
                                             {SCREENSHOT_PROGRAM, shot}, 30s, Environment());
    EXPECT_EQ(screenshot.exitStatus, 0) << screenshot.err;

    // Typed into the list: only the rooms whose name holds "ROOM-3" stay (3, 30 to 39).
    ASSERT_EQ(Xdotool({"type", "--delay", "60", "ROOM-3"}).exitStatus, 0);
    std::optional<std::string> filtered;
    while ((filtered = lanterna.WaitForLine("Filter :", 20s)) &&
           filtered->find("Filter : 11 of 41") == std::string::npos) {
    }
    ASSERT_TRUE(filtered) << "typing did not narrow the list to 11 projectors";
    ASSERT_EQ(Xdotool({"key", "Escape"}).exitStatus, 0);
    EXPECT_TRUE(lanterna.WaitForLine("Filter : 41 of 41", 20s));

    // The power of LAB-WL1 is cut: greyed within a few periods, normal again once it answers.
    lab.Stop();
    EXPECT_TRUE(lanterna.WaitForLine("Presence : 10.78.1.41 not answering since", 20s));
    StartProjectors({"--address", "10.78.1.41", "--name", "LAB-WL1"}, 1);
    EXPECT_TRUE(lanterna.WaitForLine("Presence : 10.78.1.41 answering", 20s));
}

TEST_F(SiteNetwork, AProjectorBehindARouterIsListedThroughARangeOfTheOtherSubnets) {
    // A second segment behind a router: the client's broadcast never reaches it.
    ASSERT_TRUE(network->AddBridge("br1")) << network->Error();
    ASSERT_TRUE(network->AddHost("router", {"10.78.0.254/16"})) << network->Error();
    ASSERT_TRUE(network->AddRouterLink("router", "br1", "eth1", "10.79.0.254/16"))
        << network->Error();
    ASSERT_TRUE(network->AddHost("far", {"10.79.1.5/16"}, "br1")) << network->Error();
    ASSERT_TRUE(network->AddRoute("far", "10.78.0.0/16", "10.79.0.254")) << network->Error();
    ASSERT_TRUE(network->AddRoute("client", "10.79.0.0/16", "10.78.0.254")) << network->Error();

    ASSERT_EQ(SaveOtherSubnets({"10.79.1.1-20"}, {home + "/config/lanterna/registry.reg"}), 1);
    StartProjectors({"--address", "10.78.1.1", "--name", "ROOM-201"}, 1);
    CBackgroundProgram& far = Start("far", {SIM_PROGRAM, "--lifetime", "240", "--address",
                                            "10.79.1.5", "--name", "HALL-1F"});
    ASSERT_EQ(far.WaitForLines("listening on", 1, 20s), 1);
    StartDesktop();
    CBackgroundProgram& lanterna = StartLanterna();
    const std::optional<std::string> refreshed = lanterna.WaitForLine("Refresh :", 60s);
    ASSERT_TRUE(refreshed);
    EXPECT_EQ(refreshed->substr(0, refreshed->find('\r')), "Refresh : 2 projectors")
        << "the local projector and the one behind the router";
}

}  // namespace
}  // namespace lanterna::test
