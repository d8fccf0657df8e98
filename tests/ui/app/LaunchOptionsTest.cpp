// What the program does before the toolkit starts: help, version, no display, or the window.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/LaunchOptions.h"

namespace lanterna {
namespace {

using Environment = std::map<std::string, std::string, std::less<>>;

LaunchAction Choose(std::vector<const char*> arguments, const Environment& environment) {
    arguments.insert(arguments.begin(), "lanterna");
    return ChooseLaunchAction(static_cast<int>(arguments.size()), arguments.data(),
                              [&](std::string_view name) -> std::optional<std::string> {
                                  const auto found = environment.find(name);
                                  if (found == environment.end()) {
                                      return std::nullopt;
                                  }
                                  return found->second;
                              });
}

TEST(ChooseLaunchAction, TableOfArgumentsAndEnvironments) {
    const Environment none;
    const Environment x11{{"DISPLAY", ":0"}};
    const Environment wayland{{"WAYLAND_DISPLAY", "wayland-0"}};
    const Environment emptyDisplay{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}};
    const Environment offscreen{{"QT_QPA_PLATFORM", "offscreen"}};
    const Environment xcbOnly{{"QT_QPA_PLATFORM", "xcb"}};
    const Environment fallbackList{{"QT_QPA_PLATFORM", "wayland;xcb"}};
    const Environment listWithOffscreen{{"QT_QPA_PLATFORM", "xcb;offscreen"}};
    struct Case {
        std::vector<const char*> arguments;
        const Environment& environment;
        LaunchAction expected;
    };
    const std::vector<Case> cases{
        // Help and version need nothing; the first of them given wins.
        {{"--help"}, none, LaunchAction::kPrintHelp},
        {{"-h"}, x11, LaunchAction::kPrintHelp},
        {{"/debug", "--version"}, none, LaunchAction::kPrintVersion},
        {{"--version", "--help"}, none, LaunchAction::kPrintVersion},
        {{"--HELP"}, none, LaunchAction::kNoDisplay},  // not an option of ours: no display
        // A session is there.
        {{}, x11, LaunchAction::kRunWindow},
        {{"/debug"}, wayland, LaunchAction::kRunWindow},
        {{"-display", ":1"}, none, LaunchAction::kRunWindow},
        {{"--display", ":1"}, none, LaunchAction::kRunWindow},
        // None: unset, empty, or a platform of the session named without its display.
        {{}, none, LaunchAction::kNoDisplay},
        {{"/debug"}, emptyDisplay, LaunchAction::kNoDisplay},
        {{}, xcbOnly, LaunchAction::kNoDisplay},
        {{}, fallbackList, LaunchAction::kNoDisplay},
        {{"-platform", "xcb"}, offscreen, LaunchAction::kNoDisplay},
        {{"-display"}, none, LaunchAction::kNoDisplay},  // no value: not the toolkit's option
        // A platform outside the session is the toolkit's to judge.
        {{}, offscreen, LaunchAction::kRunWindow},
        {{}, listWithOffscreen, LaunchAction::kRunWindow},
        {{"-platform", "offscreen"}, none, LaunchAction::kRunWindow},
        {{"--platform", "vnc:size=800x600"}, none, LaunchAction::kRunWindow},
    };
    for (std::size_t index = 0; index < cases.size(); ++index) {
        EXPECT_EQ(Choose(cases[index].arguments, cases[index].environment), cases[index].expected)
            << "case " << index;
    }
}

}  // namespace
}  // namespace lanterna
