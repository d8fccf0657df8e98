#include "app/LaunchOptions.h"

#include <optional>
#include <string_view>

namespace lanterna {
namespace {

constexpr std::string_view kHelpText =
    R"(Usage: lanterna [/debug]
       lanterna --help | --version
Finds the video projectors on the local network and sets up their network
interface: wired LAN, mail notification, SNMP, wireless LAN and the password.

Options:
  /debug
      Demonstration mode: five demonstration projectors are listed before the
      ones found, and every link to them is simulated (any letter case).
  -h, --help
      This text.
  --version
      Print the version.

The window needs a graphical session (X11 or Wayland); the toolkit's own
options, such as -platform and -display, are taken as well. Without one, use
lanternactl. A second start brings the running window to the front.

Exit status: 0 when the window has been closed, 1 without a graphical session.
)";

bool IsHelp(std::string_view argument) {
    return argument == "--help" || argument == "-h";
}

// The toolkit takes its own options with one dash or two.
bool IsToolkitOption(std::string_view argument, std::string_view name) {
    if (argument.starts_with("--")) {
        argument.remove_prefix(1);
    }
    return argument.size() == name.size() + 1 && argument[0] == '-' && argument.substr(1) == name;
}

// X11 ("xcb") and Wayland ("wayland", "wayland-egl", ...) connect to the desktop session; a
// platform may carry options after ':'.
bool IsSessionPlatform(std::string_view platform) {
    platform = platform.substr(0, platform.find(':'));
    return platform == "xcb" || platform.starts_with("wayland");
}

// The toolkit tries the platforms of a ';'-separated list in turn; the check of the session
// applies only when each of them needs it (none given: the default, which does).
bool NeedsSession(std::string_view platforms) {
    while (!platforms.empty()) {
        const std::size_t end = platforms.find(';');
        const std::string_view platform = platforms.substr(0, end);
        if (!platform.empty() && !IsSessionPlatform(platform)) {
            return false;
        }
        platforms = end == std::string_view::npos ? std::string_view{} : platforms.substr(end + 1);
    }
    return true;
}

bool IsSetAndNotEmpty(const EnvironmentLookup& environment, std::string_view name) {
    const std::optional<std::string> value = environment(name);
    return value.has_value() && !value->empty();
}

}  // namespace

LaunchAction ChooseLaunchAction(int argc, const char* const* argv,
                                const EnvironmentLookup& environment) {
    std::optional<std::string> platform = environment("QT_QPA_PLATFORM");
    bool displayGiven = false;
    for (int index = 1; index < argc && argv != nullptr && argv[index] != nullptr; ++index) {
        const std::string_view argument(argv[index]);
        if (IsHelp(argument)) {
            return LaunchAction::kPrintHelp;
        }
        if (argument == "--version") {
            return LaunchAction::kPrintVersion;
        }
        const bool hasValue = index + 1 < argc && argv[index + 1] != nullptr;
        if (IsToolkitOption(argument, "platform") && hasValue) {
            platform = argv[index + 1];
        } else if (IsToolkitOption(argument, "display") && hasValue) {
            displayGiven = true;
        }
    }
    if (!NeedsSession(platform.value_or(""))) {
        return LaunchAction::kRunWindow;
    }
    const bool sessionThere = displayGiven || IsSetAndNotEmpty(environment, "DISPLAY") ||
                              IsSetAndNotEmpty(environment, "WAYLAND_DISPLAY");
    return sessionThere ? LaunchAction::kRunWindow : LaunchAction::kNoDisplay;
}

std::string LaunchHelpText() {
    return std::string(kHelpText);
}

std::string LaunchVersionText() {
    return std::string("lanterna ") + LANTERNA_VERSION + "\n";
}

std::string NoDisplayLine() {
    return "lanterna: no display to open: the window needs a graphical session (X11 or "
           "Wayland); lanternactl works without one";
}

}  // namespace lanterna
