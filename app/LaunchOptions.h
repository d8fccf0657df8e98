#pragma once
// What the program does before any window exists: print its help or version, refuse to start
// without a display in one clear line, or go on to the window. Decided from the arguments and
// the environment alone, so that `lanterna --help` works where the toolkit cannot start.
// Qt-free.

#include <string>

#include "platform/ProcessEnvironment.h"

namespace lanterna {

enum class LaunchAction { kRunWindow, kPrintHelp, kPrintVersion, kNoDisplay };

// "--help" or "-h" prints the help, "--version" the version (the first of them given wins);
// other words are the window's ("/debug") or the toolkit's. Without either, the window needs a
// display: an X11 or Wayland platform (the default, or QT_QPA_PLATFORM / -platform naming only
// those) needs DISPLAY or WAYLAND_DISPLAY set (or -display given); any other platform the
// toolkit is asked for (offscreen, vnc, ...) is left to it.
LaunchAction ChooseLaunchAction(int argc, const char* const* argv,
                                const EnvironmentLookup& environment);

// The text --help prints, ending in a newline.
std::string LaunchHelpText();

// "lanterna VERSION", ending in a newline.
std::string LaunchVersionText();

// The one line (without its newline) printed to standard error when there is no display.
std::string NoDisplayLine();

}  // namespace lanterna
