// The skinned frame under a window manager (openbox on Xvfb), driven by xdotool as a person
// would: the window manager adds no frame, dragging the caption moves the window, a click on the
// drawn close block ends the dialog with IDCANCEL, and so does the desktop's close shortcut
// (Alt+F4). The program shown is the about dialog, which uses no network.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/netns/ChildProcess.h"

namespace lanterna::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kXvfb = "/usr/bin/Xvfb";
constexpr const char* kOpenbox = "/usr/bin/openbox";
constexpr const char* kXdotool = "/usr/bin/xdotool";
constexpr const char* kXprop = "/usr/bin/xprop";

struct WindowInfo {
    std::string id;
    int captionX = 0;
    int captionY = 0;
    int closeX = 0;
    int closeY = 0;
};

class SkinFrame : public testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {kXvfb, kOpenbox, kXdotool, kXprop}) {
            if (access(tool, X_OK) != 0) {
                GTEST_SKIP() << tool << " is not installed";
            }
        }
        std::string pattern =
            (std::filesystem::temp_directory_path() / "lanterna-skin-XXXXXX").string();
        home = mkdtemp(pattern.data());
        std::filesystem::permissions(home, std::filesystem::perms::owner_all);
        StartDisplayAndWindowManager();
    }

    void TearDown() override {
        while (!programs.empty()) {
            programs.pop_back();  // the display last
        }
        if (!home.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(home, ignored);
        }
    }

    std::vector<std::string> Environment() const {
        return {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb", "XDG_RUNTIME_DIR=" + home,
                "HOME=" + home, "XDG_CONFIG_HOME=" + home + "/config"};
    }

    CBackgroundProgram& StartInBackground(const std::vector<std::string>& command) {
        const std::vector<std::string> environment = Environment();
        std::vector<std::string> argv{"/usr/bin/env"};
        argv.insert(argv.end(), environment.begin(), environment.end());
        argv.insert(argv.end(), command.begin(), command.end());
        auto program = std::make_unique<CBackgroundProgram>();
        EXPECT_TRUE(program->Start("", argv));
        programs.push_back(std::move(program));
        return *programs.back();
    }

    ProgramRun Xdotool(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), kXdotool);
        return RunProgram("", arguments, 20s, Environment());
    }

    // Runs xdotool with `arguments` until it succeeds, for up to ten seconds.
    bool WaitFor(const std::vector<std::string>& arguments) {
        for (int i = 0; i < 100; ++i) {
            if (Xdotool(arguments).exitStatus == 0) {
                return true;
            }
            std::this_thread::sleep_for(100ms);
        }
        return false;
    }

    // Xvfb picks a display number that is free and prints it once it takes connections.
    void StartDisplayAndWindowManager() {
        auto xvfb = std::make_unique<CBackgroundProgram>();
        ASSERT_TRUE(xvfb->Start(
            "", {kXvfb, "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"}));
        const bool ready = xvfb->WaitForLines("", 1, 30s) == 1;
        display = ":" + xvfb->LastLine("");
        programs.push_back(std::move(xvfb));
        ASSERT_TRUE(ready) << "Xvfb did not start";
        StartInBackground({kOpenbox, "--sm-disable"});
        // The window manager is up once it answers for the desktops.
        const bool managed = WaitFor({"get_desktop"});
        ASSERT_TRUE(managed) << "openbox did not start";
    }

    // The about dialog on screen; its window id and frame points.
    WindowInfo ShowDialog(CBackgroundProgram*& program) {
        const std::string infoPath = home + "/window-info";
        std::filesystem::remove(infoPath);
        program = &StartInBackground({SKIN_WINDOW_PROGRAM, infoPath});
        WindowInfo info;
        if (program->WaitForLines("shown", 1, 30s) != 1) {
            ADD_FAILURE() << "the dialog did not come up";
            return info;
        }
        std::ifstream file(infoPath);
        file >> info.id >> info.captionX >> info.captionY >> info.closeX >> info.closeY;
        EXPECT_FALSE(info.id.empty());
        return info;
    }

    std::pair<int, int> Position(const std::string& window) {
        const ProgramRun run = Xdotool({"getwindowgeometry", "--shell", window});
        std::istringstream lines(run.out);
        std::string line;
        int x = -1;
        int y = -1;
        while (std::getline(lines, line)) {
            if (line.rfind("X=", 0) == 0) {
                x = std::stoi(line.substr(2));
            } else if (line.rfind("Y=", 0) == 0) {
                y = std::stoi(line.substr(2));
            }
        }
        return {x, y};
    }

    // The position once `moved` holds for it, or the last one read after ten seconds.
    std::pair<int, int> PositionOnce(const std::string& window,
                                     const std::function<bool(std::pair<int, int>)>& moved) {
        std::pair<int, int> now = Position(window);
        for (int i = 0; i < 100 && !moved(now); ++i) {
            std::this_thread::sleep_for(100ms);
            now = Position(window);
        }
        return now;
    }

    // The position once the window manager has placed the window: the same on three reads
    // 100 ms apart.
    std::pair<int, int> SettledPosition(const std::string& window) {
        std::pair<int, int> last = Position(window);
        int same = 0;
        for (int i = 0; i < 50 && same < 2; ++i) {
            std::this_thread::sleep_for(100ms);
            const std::pair<int, int> now = Position(window);
            same = now == last ? same + 1 : 0;
            last = now;
        }
        return last;
    }

    std::vector<std::unique_ptr<CBackgroundProgram>> programs;
    std::string home;
    std::string display;
};

TEST_F(SkinFrame, ADragOnTheCaptionMovesTheWindowAndTheCloseBlockClosesIt) {
    CBackgroundProgram* dialog = nullptr;
    const WindowInfo info = ShowDialog(dialog);
    ASSERT_FALSE(info.id.empty());
    // The window manager draws no frame of its own around the dialog's.
    const ProgramRun extents =
        RunProgram("", {kXprop, "-id", info.id, "_NET_FRAME_EXTENTS"}, 20s, Environment());
    EXPECT_NE(extents.out.find("= 0, 0, 0, 0"), std::string::npos) << extents.out;
    const auto [x0, y0] = SettledPosition(info.id);
    ASSERT_GE(x0, 0);

    // Pressed on the caption (once the dialog has the press, the moves are its own), the mouse
    // moves twice; after each move the window follows once the window manager has placed it;
    // then the button is released. Each step is waited for, none slept through.
    const ProgramRun press =
        Xdotool({"mousemove", "--sync", "--window", info.id, std::to_string(info.captionX),
                 std::to_string(info.captionY), "mousedown", "1"});
    ASSERT_EQ(press.exitStatus, 0) << press.err;
    ASSERT_EQ(dialog->WaitForLines("pressed", 1, 15s), 1) << "the press did not reach the dialog";
    std::pair<int, int> now{x0, y0};
    for (const int step : {1, 2}) {
        const ProgramRun move = Xdotool({"mousemove_relative", "--sync", "30", "20"});
        ASSERT_EQ(move.exitStatus, 0) << move.err;
        const std::pair<int, int> expected{x0 + 30 * step, y0 + 20 * step};
        now = PositionOnce(info.id, [&](std::pair<int, int> at) { return at == expected; });
        EXPECT_EQ(now, expected) << "move " << step << " from " << x0 << "," << y0;
    }
    const ProgramRun release = Xdotool({"mouseup", "1"});
    ASSERT_EQ(release.exitStatus, 0) << release.err;
    EXPECT_EQ(Position(info.id), now) << "the release leaves the window where it is";

    const ProgramRun click =
        Xdotool({"mousemove", "--sync", "--window", info.id, std::to_string(info.closeX),
                 std::to_string(info.closeY), "click", "1"});
    ASSERT_EQ(click.exitStatus, 0) << click.err;
    EXPECT_EQ(dialog->WaitForLines("ended 2", 1, 15s), 1) << "the close block did not close it";
}

TEST_F(SkinFrame, TheDesktopsCloseShortcutReachesTheDialog) {
    CBackgroundProgram* dialog = nullptr;
    const WindowInfo info = ShowDialog(dialog);
    ASSERT_FALSE(info.id.empty());
    // The shortcut goes to the active window: the dialog's, made so and checked first.
    const ProgramRun activate = Xdotool({"windowactivate", "--sync", info.id});
    ASSERT_EQ(activate.exitStatus, 0) << activate.err;
    ASSERT_EQ(Xdotool({"getactivewindow"}).out, info.id + "\n");
    const ProgramRun key = Xdotool({"key", "--clearmodifiers", "alt+F4"});
    ASSERT_EQ(key.exitStatus, 0) << key.err;
    EXPECT_EQ(dialog->WaitForLines("ended 2", 1, 15s), 1) << "Alt+F4 did not close it";
}

}  // namespace
}  // namespace lanterna::test
